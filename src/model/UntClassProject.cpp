#include "model/UntClassProject.h"

#include "model/UntStrings.h"

#include <QtGlobal>
#include <algorithm>
#include <atomic>

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
    return LoadStr(StrHeadingBase + number);
}

namespace {

std::atomic<std::uint64_t> LastRevision{0};

} // namespace

TProject::TProject() : Title(QStringLiteral("Analyse Swot")), FRevision(++LastRevision) {}

void TProject::MarkModified() {
    FModified = true;
    FRevision = ++LastRevision;
}

std::unique_ptr<TProject> CopyProject(const TProject& project) {
    auto copy = std::make_unique<TProject>();
    copy->FModified = project.FModified;
    copy->FileName = project.FileName;
    copy->Title = project.Title;
    copy->Comments = project.Comments;
    copy->Labels = project.Labels;
    copy->Items.reserve(project.Items.size());
    for (const auto& item : project.Items)
        copy->Items.push_back(std::make_unique<TTOWSItem>(*item));
    copy->Guidelines.reserve(project.Guidelines.size());
    for (const auto& guideline : project.Guidelines)
        copy->Guidelines.push_back(std::make_unique<TGuideline>(*guideline));
    return copy;
}

int TProject::IndexOfItem(const TTOWSItem* item) const {
    const auto it = std::ranges::find_if(
        Items, [item](const auto& candidate) { return candidate.get() == item; });
    return it == Items.end() ? -1 : static_cast<int>(it - Items.begin());
}

bool TProject::IsValidPosition(std::int32_t position) const {
    return position >= 0 && static_cast<std::size_t>(position) < Items.size();
}

TItemDeletion TProject::DeleteItem(std::int32_t position) {
    TItemDeletion deletion;
    if (!IsValidPosition(position))
        return deletion;
    deletion.Position = position;
    deletion.Item = std::move(Items[static_cast<std::size_t>(position)]);
    Items.erase(Items.begin() + position);
    for (std::size_t g = 0; g < Guidelines.size(); ++g) {
        std::vector<TTOWSCouple>& couples = Guidelines[g]->Couples;
        std::size_t kept = 0;
        for (std::size_t place = 0; place < couples.size(); ++place) {
            TTOWSCouple couple = couples[place];
            if (couple.Index1 == position || couple.Index2 == position) {
                deletion.Removed.push_back({g, place, couple});
                continue;
            }
            if (couple.Index1 > position)
                --couple.Index1;
            if (couple.Index2 > position)
                --couple.Index2;
            couples[kept++] = couple;
        }
        couples.resize(kept);
    }
    return deletion;
}

void TProject::RestoreItem(TItemDeletion deletion) {
    const std::int32_t position = deletion.Position;
    if (position < 0)
        return;
    Q_ASSERT(position <= static_cast<std::int32_t>(Items.size()));
    Items.insert(Items.begin() + position, std::move(deletion.Item));
    // Every record left at or above the position was moved down by one.
    for (const auto& guideline : Guidelines)
        for (TTOWSCouple& couple : guideline->Couples) {
            if (couple.Index1 >= position)
                ++couple.Index1;
            if (couple.Index2 >= position)
                ++couple.Index2;
        }
    // The removed records go back to their places, merged in one pass per
    // conclusion; they are in order of conclusion, then of place.
    const auto end = deletion.Removed.end();
    for (auto first = deletion.Removed.begin(); first != end;) {
        const std::size_t guideline = first->Guideline;
        const auto last = std::find_if(
            first, end, [guideline](const auto& record) { return record.Guideline != guideline; });
        std::vector<TTOWSCouple>& couples = Guidelines[guideline]->Couples;
        std::vector<TTOWSCouple> merged;
        merged.reserve(couples.size() + static_cast<std::size_t>(last - first));
        auto kept = couples.begin();
        for (; first != last; ++first) {
            while (merged.size() < first->Place)
                merged.push_back(*kept++);
            merged.push_back(first->Couple);
        }
        merged.insert(merged.end(), kept, couples.end());
        couples = std::move(merged);
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

std::vector<std::int32_t> PositionsOfType(const TProject& project, std::int32_t swotType) {
    std::vector<std::int32_t> positions;
    for (std::size_t i = 0; i < project.Items.size(); ++i)
        if (project.Items[i]->SwotType == swotType)
            positions.push_back(static_cast<std::int32_t>(i));
    return positions;
}

std::vector<std::int32_t> FactorsByImportance(const TProject& project, std::int32_t swotType) {
    std::vector<std::int32_t> positions = PositionsOfType(project, swotType);
    std::ranges::stable_sort(positions, std::greater{},
                             [&project](std::int32_t i) { return project.Items[i]->Mark; });
    return positions;
}

std::int64_t GetGuidelineWeight(const TProject& project, const TGuideline& guideline) {
    std::int64_t weight = 0;
    for (const TTOWSCouple& couple : guideline.Couples)
        weight += GetCouplingRating(project, couple.Index1, couple.Index2);
    return weight;
}
