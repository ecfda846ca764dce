#include "UntClassProject.h"

#include "UntStrings.h"

#include <QtGlobal>
#include <algorithm>

TLabels::TLabels() {
    for (int number = 1; number <= Count; ++number)
        FValues[number - 1] = DefaultValue(number);
}

std::optional<int> TLabels::NumberOf(const QString& name) {
    static const QString prefix = QStringLiteral("Label");
    if (!name.startsWith(prefix))
        return std::nullopt;
    const QStringView digits = QStringView(name).mid(prefix.size());
    if (digits.isEmpty() || digits.front() == QLatin1Char('0'))
        return std::nullopt;
    bool isNumber = false;
    const int number = digits.toInt(&isNumber);
    // toInt accepts a sign; names hold plain digits only.
    if (!isNumber || !digits.front().isDigit() || number < 1 || number > Count)
        return std::nullopt;
    return number;
}

QString TLabels::Values(const QString& name) const {
    const auto number = NumberOf(name);
    return number ? FValues[*number - 1] : QString();
}

bool TLabels::SetValues(const QString& name, const QString& value) {
    const auto number = NumberOf(name);
    if (!number)
        return false;
    FValues[*number - 1] = value;
    return true;
}

const QString& TLabels::Value(int number) const {
    Q_ASSERT(number >= 1 && number <= Count);
    return FValues[number - 1];
}

void TLabels::SetValue(int number, const QString& value) {
    Q_ASSERT(number >= 1 && number <= Count);
    FValues[number - 1] = value;
}

QString TLabels::DefaultValue(int number) {
    return LoadStr(2800 + number);
}

TProject::TProject() : Title(QStringLiteral("Analyse Swot")) {}

int TProject::IndexOfItem(const TTOWSItem* item) const {
    const auto it = std::ranges::find_if(
        Items, [item](const auto& candidate) { return candidate.get() == item; });
    return it == Items.end() ? -1 : static_cast<int>(it - Items.begin());
}

bool TProject::IsValidPosition(std::int32_t position) const {
    return position >= 0 && static_cast<std::size_t>(position) < Items.size();
}

void TProject::DeleteItem(std::int32_t position) {
    if (!IsValidPosition(position))
        return;
    Items.erase(Items.begin() + position);
    for (const auto& guideline : Guidelines) {
        std::erase_if(guideline->Couples, [position](const TTOWSCouple& couple) {
            return couple.Index1 == position || couple.Index2 == position;
        });
        for (TTOWSCouple& couple : guideline->Couples) {
            if (couple.Index1 > position)
                --couple.Index1;
            if (couple.Index2 > position)
                --couple.Index2;
        }
    }
}

std::int64_t GetCouplingRating(const TProject& project, std::int32_t index1, std::int32_t index2) {
    Q_ASSERT(project.IsValidPosition(index1) && project.IsValidPosition(index2));
    return std::int64_t{project.Items[index1]->Mark} * project.Items[index2]->Mark;
}

QString GetCouplingCaption(const TProject& project, std::int32_t index1, std::int32_t index2) {
    return QString::number(GetCouplingRating(project, index1, index2)) + QStringLiteral(" : ") +
           project.Items[index1]->Name + QStringLiteral(" / ") + project.Items[index2]->Name;
}

namespace {

// Positions of the factors whose type the predicate admits, ascending.
template <typename Predicate>
std::vector<std::int32_t> PositionsWhere(const TProject& project, Predicate admits) {
    std::vector<std::int32_t> positions;
    for (std::size_t i = 0; i < project.Items.size(); ++i)
        if (admits(project.Items[i]->SwotType))
            positions.push_back(static_cast<std::int32_t>(i));
    return positions;
}

} // namespace

std::vector<TCoupling> EnumerateViewCouplings(const TProject& project) {
    const auto internals = PositionsWhere(project, IsInternalType);
    const auto externals = PositionsWhere(project, IsExternalType);
    std::vector<TCoupling> couplings;
    couplings.reserve(internals.size() * externals.size());
    for (const std::int32_t i : internals) {
        const std::int32_t internalType = project.Items[i]->SwotType;
        for (const std::int32_t j : externals)
            couplings.push_back({i, j, *GetCouplingKind(internalType, project.Items[j]->SwotType)});
    }
    return couplings;
}

std::vector<TCoupling> EnumerateReportCouplings(const TProject& project) {
    constexpr int TopRating = 9;
    std::array<std::vector<std::int32_t>, stThreat + 1> byType;
    for (std::int32_t type = stStrength; type <= stThreat; ++type)
        byType[type] = PositionsWhere(project, [type](std::int32_t t) { return t == type; });

    std::array<std::vector<TCoupling>, TopRating + 1> byRating;
    std::vector<TCoupling> couplings;
    for (const TCouplingKind kind : AllCouplingKinds) {
        // One walk in position order, sorted into buckets by rating, keeps the
        // position order within each rating.
        for (const std::int32_t i : byType[InternalTypeOf(kind)])
            for (const std::int32_t j : byType[ExternalTypeOf(kind)]) {
                const std::int64_t rating = GetCouplingRating(project, i, j);
                if (rating >= 1 && rating <= TopRating)
                    byRating[rating].push_back({i, j, kind});
            }
        for (int rating = TopRating; rating >= 1; --rating) {
            couplings.insert(couplings.end(), byRating[rating].begin(), byRating[rating].end());
            byRating[rating].clear();
        }
    }
    return couplings;
}

std::int64_t GetGuidelineWeight(const TProject& project, const TGuideline& guideline) {
    std::int64_t weight = 0;
    for (const TTOWSCouple& couple : guideline.Couples)
        weight += GetCouplingRating(project, couple.Index1, couple.Index2);
    return weight;
}
