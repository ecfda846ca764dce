#include "storage/UntJson.h"

#include "model/UntStrings.h"
#include "storage/UntDataModule.h"
#include "storage/UntIO.h"
#include "storage/UntUtils.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <algorithm>
#include <array>
#include <initializer_list>
#include <limits>
#include <utility>
#include <vector>

namespace {

const QLatin1String FormatName("merovan-project");

// Comments list in their stored form, whose "<BR>" joins the lines an
// editor wrote.
const QLatin1String LineJoint("<BR>");

[[noreturn]] void Refuse(int id, const QString& place, const QString& detail = {}) {
    throw EStorageError(FillTemplate(LoadStr(id), place, detail));
}

QString Member(const QString& place, const QString& name) {
    return place.isEmpty() ? Printable(name) : place + QLatin1Char('.') + Printable(name);
}

QString Element(const QString& place, qsizetype index) {
    return place + QLatin1Char('[') + QString::number(index) + QLatin1Char(']');
}

QJsonObject CommentJson(const QStringList& lines) {
    return {{QStringLiteral("rtf"), XmlText(LinesToStoredText(lines))},
            {QStringLiteral("text"), CommentText(lines)}};
}

// Reads the members of one object, naming the place of whatever is wrong.
class TObjectReader {
public:
    TObjectReader(const QJsonValue& value, QString place) : FPlace(std::move(place)) {
        if (!value.isObject())
            Refuse(StrJsonObjectExpected, FPlace);
        FObject = value.toObject();
    }

    const QString& Place() const { return FPlace; }
    const QJsonObject& Members() const { return FObject; }

    // A member outside the list is a mistake that would otherwise lose data
    // without a word.
    void OnlyMembers(std::initializer_list<const char*> known) const {
        for (const QString& key : FObject.keys())
            if (std::ranges::none_of(known, [&key](const char* name) { return key == name; }))
                Refuse(StrJsonUnknown, Member(FPlace, key));
    }

    bool Has(const char* name) const { return FObject.contains(QLatin1String(name)); }

    QJsonValue Required(const char* name) const {
        if (!Has(name))
            Refuse(StrJsonMissing, Member(FPlace, QLatin1String(name)));
        return FObject.value(QLatin1String(name));
    }

    QString Text(const char* name) const { return TextOf(Required(name), At(name)); }
    std::int32_t Integer(const char* name) const { return IntegerOf(Required(name), At(name)); }
    QJsonArray List(const char* name) const { return ListOf(Required(name), At(name)); }

    QString At(const char* name) const { return Member(FPlace, QLatin1String(name)); }

    static QString TextOf(const QJsonValue& value, const QString& place) {
        if (!value.isString())
            Refuse(StrJsonTextExpected, place);
        QString text = value.toString();
        if (XmlText(text) != text)
            Refuse(StrJsonControlCharacter, place);
        return text;
    }

    static std::int32_t IntegerOf(const QJsonValue& value, const QString& place) {
        constexpr qint64 none = std::numeric_limits<qint64>::min();
        const qint64 number = value.toInteger(none);
        if (number == none || number < std::numeric_limits<std::int32_t>::min() ||
            number > std::numeric_limits<std::int32_t>::max())
            Refuse(StrJsonIntegerExpected, place);
        return static_cast<std::int32_t>(number);
    }

    static QJsonArray ListOf(const QJsonValue& value, const QString& place) {
        if (!value.isArray())
            Refuse(StrJsonListExpected, place);
        return value.toArray();
    }

    // The comments of the owner: its stored rich text, or else lines made
    // from its plain text; "text" is derived from "rtf" where both are.
    QStringList Comment() const {
        if (!Has("comment"))
            return {};
        const TObjectReader comment(FObject.value(QLatin1String("comment")), At("comment"));
        comment.OnlyMembers({"rtf", "text"});
        if (!comment.Has("rtf"))
            return comment.Has("text") ? PlainTextToLines(comment.Text("text")) : QStringList();
        const QString rtf = comment.Text("rtf");
        return rtf.isEmpty() ? QStringList() : rtf.split(LineJoint);
    }

private:
    QString FPlace;
    QJsonObject FObject;
};

std::int32_t TypeOfWord(const QString& word, const QString& place) {
    for (std::int32_t type = stStrength; type <= stThreat; ++type)
        if (word == QLatin1String(TypeWord(type)))
            return type;
    Refuse(StrJsonBadType, place);
}

void CheckMark(std::int32_t mark, const QString& place) {
    if (mark < mkLow || mark > mkHigh)
        Refuse(StrJsonBadMark, place);
}

void ReadFactors(const QJsonArray& factors, TProject& project) {
    for (qsizetype i = 0; i < factors.size(); ++i) {
        const TObjectReader factor(factors[i], Element(QStringLiteral("factors"), i));
        factor.OnlyMembers({"type", "name", "mark", "comment"});
        auto item = std::make_unique<TTOWSItem>();
        item->SwotType = TypeOfWord(factor.Text("type"), factor.At("type"));
        item->Name = factor.Text("name");
        if (factor.Has("mark")) {
            item->Mark = factor.Integer("mark");
            CheckMark(item->Mark, factor.At("mark"));
        }
        item->Comments = factor.Comment();
        project.Items.push_back(std::move(item));
    }
}

void ReadConclusions(const QJsonArray& conclusions, TProject& project, QStringList* remarks) {
    for (qsizetype i = 0; i < conclusions.size(); ++i) {
        const TObjectReader conclusion(conclusions[i], Element(QStringLiteral("conclusions"), i));
        conclusion.OnlyMembers({"name", "comment", "couplings"});
        auto guideline = std::make_unique<TGuideline>();
        guideline->Name = conclusion.Text("name");
        guideline->Comments = conclusion.Comment();
        const QJsonArray couplings =
            conclusion.Has("couplings") ? conclusion.List("couplings") : QJsonArray();
        for (qsizetype j = 0; j < couplings.size(); ++j) {
            const QString place = Element(conclusion.At("couplings"), j);
            const QJsonArray pair = couplings[j].toArray();
            if (!couplings[j].isArray() || pair.size() != 2)
                Refuse(StrJsonBadCoupling, place);
            std::array<std::int32_t, 2> positions{};
            for (qsizetype k = 0; k < 2; ++k) {
                positions[k] = TObjectReader::IntegerOf(pair[k], Element(place, k));
                if (!project.IsValidPosition(positions[k]))
                    Refuse(StrJsonNoFactor, Element(place, k));
            }
            // Project files keep such a coupling, which no view or report
            // shows; it stays, but the user hears of it.
            const std::int32_t internal = project.Items[positions[0]]->SwotType;
            const std::int32_t external = project.Items[positions[1]]->SwotType;
            if (remarks && (internal < stStrength || internal > stWeakness ||
                            external < stOpportunity || external > stThreat))
                *remarks << FillTemplate(LoadStr(StrJsonCouplingKept), place);
            guideline->AddCouple(positions[0], positions[1]);
        }
        project.Guidelines.push_back(std::move(guideline));
    }
}

// The text of the JSON string whose opening quote is at the position, which
// is left at its closing quote.
QString StringAt(const QByteArray& text, qsizetype& at) {
    QString decoded;
    qsizetype run = ++at;
    const auto flush = [&] {
        decoded += QString::fromUtf8(text.constData() + run, at - run);
    };
    for (; text[at] != '"'; ++at) {
        if (text[at] != '\\')
            continue;
        flush();
        const char escape = text[++at];
        static const QByteArray plain = "\"\\/bfnrt";
        static const QString meant = QStringLiteral("\"\\/\b\f\n\r\t");
        if (escape == 'u') {
            decoded += QChar(static_cast<char16_t>(text.mid(at + 1, 4).toUShort(nullptr, 16)));
            at += 4;
        } else {
            // The toolkit's reader lets an unknown escape stand for its character.
            const qsizetype which = plain.indexOf(escape);
            decoded += which < 0 ? QChar::fromLatin1(escape) : meant[which];
        }
        run = at + 1;
    }
    flush();
    return decoded;
}

// The reader keeps the last of members given twice: the others would be lost
// without a word. The text is well-formed JSON.
void RefuseRepeatedMembers(const QByteArray& text) {
    struct TLevel {
        bool IsObject;
        QString Place;
        QSet<QString> Names;
        QString Name;
        qsizetype Index = 0;
        QString Child() const { return IsObject ? Member(Place, Name) : Element(Place, Index); }
    };
    std::vector<TLevel> levels;
    bool nameNext = false;
    for (qsizetype at = 0; at < text.size(); ++at) {
        switch (text[at]) {
        case '{':
        case '[':
            levels.push_back(
                {text[at] == '{', levels.empty() ? QString() : levels.back().Child(), {}, {}, 0});
            nameNext = levels.back().IsObject;
            break;
        case '}':
        case ']':
            levels.pop_back();
            break;
        case ',':
            nameNext = levels.back().IsObject;
            ++levels.back().Index;
            break;
        case '"': {
            const qsizetype start = at;
            const QString name = StringAt(text, at);
            if (!std::exchange(nameNext, false))
                break;
            TLevel& level = levels.back();
            level.Name = name;
            if (level.Names.contains(name))
                throw EStorageError(FillTemplate(LoadStr(StrJsonDuplicate), level.Child(),
                                                 TextLocation(text, start)));
            level.Names.insert(name);
            break;
        }
        default:
            break;
        }
    }
}

} // namespace

const char* TypeWord(std::int32_t swotType) {
    static constexpr std::array<const char*, 4> words = {"strength", "weakness", "opportunity",
                                                         "threat"};
    return swotType >= stStrength && swotType <= stThreat ? words[swotType - stStrength] : nullptr;
}

void CheckExportable(const TTOWSItem& item, std::size_t position) {
    const QString place = Element(QStringLiteral("factors"), static_cast<qsizetype>(position));
    if (!TypeWord(item.SwotType))
        Refuse(StrJsonBadType, Member(place, QStringLiteral("type")));
    CheckMark(item.Mark, Member(place, QStringLiteral("mark")));
}

QByteArray ProjectJson(const TProject& project) {
    QJsonObject headings;
    for (int number = 1; number <= TLabels::Count; ++number)
        headings.insert(QString::number(number), XmlText(project.Labels.Value(number)));

    QJsonArray factors;
    for (std::size_t i = 0; i < project.Items.size(); ++i) {
        const TTOWSItem& item = *project.Items[i];
        CheckExportable(item, i);
        factors.append(QJsonObject{{QStringLiteral("type"), QLatin1String(TypeWord(item.SwotType))},
                                   {QStringLiteral("name"), XmlText(item.Name)},
                                   {QStringLiteral("mark"), item.Mark},
                                   {QStringLiteral("comment"), CommentJson(item.Comments)}});
    }

    QJsonArray conclusions;
    for (const auto& guideline : project.Guidelines) {
        QJsonArray couplings;
        for (const TTOWSCouple& couple : guideline->Couples)
            couplings.append(QJsonArray{couple.Index1, couple.Index2});
        conclusions.append(
            QJsonObject{{QStringLiteral("name"), XmlText(guideline->Name)},
                        {QStringLiteral("comment"), CommentJson(guideline->Comments)},
                        {QStringLiteral("couplings"), couplings}});
    }

    const QJsonObject root{{QStringLiteral("format"), FormatName},
                           {QStringLiteral("version"), JsonFormatVersion},
                           {QStringLiteral("title"), XmlText(project.Title)},
                           {QStringLiteral("comment"), CommentJson(project.Comments)},
                           {QStringLiteral("headings"), headings},
                           {QStringLiteral("factors"), factors},
                           {QStringLiteral("conclusions"), conclusions}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

std::unique_ptr<TProject> ReadProjectJson(const QByteArray& json, QStringList* remarks) {
    // Some Windows programs open their UTF-8 with a byte-order mark.
    const QByteArray text = json.startsWith("\xEF\xBB\xBF") ? json.sliced(3) : json;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text, &error);
    if (error.error != QJsonParseError::NoError)
        throw EStorageError(FillTemplate(LoadStr(StrNotJson), error.errorString(),
                                         TextLocation(text, error.offset)));
    if (!document.isObject())
        Refuse(StrJsonMissing, QStringLiteral("format"));
    RefuseRepeatedMembers(text);

    const TObjectReader root(document.object(), QString());
    root.OnlyMembers(
        {"format", "version", "title", "comment", "headings", "factors", "conclusions"});
    if (root.Text("format") != FormatName)
        Refuse(StrJsonNotProject, root.At("format"));
    const std::int32_t version = root.Integer("version");
    if (version < 1 || version > JsonFormatVersion)
        Refuse(StrJsonUnknownVersion, root.At("version"), QString::number(version));

    auto project = std::make_unique<TProject>();
    if (root.Has("title"))
        project->Title = root.Text("title");
    project->Comments = root.Comment();
    if (root.Has("headings")) {
        const TObjectReader headings(root.Required("headings"), root.At("headings"));
        for (auto at = headings.Members().begin(); at != headings.Members().end(); ++at) {
            bool isNumber = false;
            const int number = at.key().toInt(&isNumber);
            const QString place = Member(headings.Place(), at.key());
            if (!isNumber || number < 1 || number > TLabels::Count ||
                at.key() != QString::number(number))
                Refuse(StrJsonUnknown, place);
            project->Labels.SetValue(number, TObjectReader::TextOf(at.value(), place));
        }
    }
    if (root.Has("factors"))
        ReadFactors(root.List("factors"), *project);
    if (root.Has("conclusions"))
        ReadConclusions(root.List("conclusions"), *project, remarks);
    // What could not be saved is refused now, not when the user saves.
    StorableContent(*project);
    return project;
}
