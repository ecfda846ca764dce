#include "storage/UntIO.h"

#include "model/UntStrings.h"
#include "storage/UntUtils.h"

#include <QRegularExpression>
#include <QStringDecoder>
#include <algorithm>
#include <charconv>
#include <pugixml.hpp>

namespace {

const char* const ContentName = "content.xml";

bool IsXmlCharacter(char32_t c) {
    return c >= 0x20 ? c != 0xFFFE && c != 0xFFFF : c == '\t' || c == '\n' || c == '\r';
}

// The document without the characters XML forbids, written raw or as
// character references ("&#1;", "&#x0;"), which the parser would hand over
// as they are, a NUL cutting the text it stands in.
QByteArray WithoutForbiddenCharacters(const QByteArray& content) {
    QByteArray kept;
    kept.reserve(content.size());
    const char* const end = content.constEnd();
    for (const char* at = content.constBegin(); at != end;) {
        const auto byte = static_cast<unsigned char>(*at);
        if (byte < 0x20 && !IsXmlCharacter(byte)) {
            ++at;
            continue;
        }
        if (byte == '&' && end - at > 3 && at[1] == '#') {
            const bool hex = at[2] == 'x';
            const char* digits = at + (hex ? 3 : 2);
            std::uint32_t code = 0;
            const auto [stop, error] = std::from_chars(digits, end, code, hex ? 16 : 10);
            if (error == std::errc() && stop != digits && stop != end && *stop == ';' &&
                !IsXmlCharacter(code)) {
                at = stop + 1;
                continue;
            }
        }
        kept += *at++;
    }
    return kept;
}

// The document in UTF-8: one in UTF-16 or UTF-32, or declaring a single-byte
// encoding, is decoded, and its declaration made to say UTF-8; one declaring
// an encoding we cannot decode is refused rather than misread.
QByteArray AsUtf8(const QByteArray& content) {
    static const QRegularExpression declaration(
        QStringLiteral(R"(^<\?xml\s[^>]*?encoding\s*=\s*["']([A-Za-z0-9._:-]+)["'])"));
    QString text;
    QString name;
    const auto unicode = QStringConverter::encodingForData(content, u'<');
    if (unicode && *unicode != QStringConverter::Utf8) {
        QStringDecoder decoder(*unicode);
        text = decoder.decode(content);
        name = QString::fromLatin1(QStringConverter::nameForEncoding(*unicode));
        if (decoder.hasError())
            throw EStorageError(FillTemplate(LoadStr(StrInvalidInEncoding), name));
    } else {
        name = declaration.match(QString::fromLatin1(content.left(256))).captured(1);
        if (unicode || name.isEmpty() || name.compare(u"UTF-8", Qt::CaseInsensitive) == 0 ||
            name.compare(u"UTF8", Qt::CaseInsensitive) == 0)
            return content;
        QStringDecoder decoder(name.toLatin1().constData());
        if (!decoder.isValid())
            throw EStorageError(FillTemplate(LoadStr(StrUnknownEncoding), name));
        text = decoder.decode(content);
        if (decoder.hasError())
            throw EStorageError(FillTemplate(LoadStr(StrInvalidInEncoding), name));
    }
    const QRegularExpressionMatch declared = declaration.match(text);
    if (declared.hasMatch())
        text.replace(declared.capturedStart(1), declared.capturedLength(1),
                     QStringLiteral("UTF-8"));
    return text.toUtf8();
}

// A required attribute that is missing or no integer, found at an offset of
// the document.
struct TNodeError {
    QString Message;
    std::ptrdiff_t Offset;
};

// The character data of an element, its absent form being empty.
QString ElementText(pugi::xml_node element) {
    QString text;
    for (pugi::xml_node child : element.children())
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata)
            text += QString::fromUtf8(child.value());
    return text;
}

void SetElementText(pugi::xml_node element, const QString& text) {
    if (!text.isEmpty())
        element.text().set(XmlUtf8(text).constData());
}

pugi::xml_attribute RequiredAttribute(pugi::xml_node element, const char* name) {
    const pugi::xml_attribute attribute = element.attribute(name);
    if (!attribute)
        throw TNodeError{FillTemplate(LoadStr(StrMissingAttribute),
                                      QString::fromUtf8(element.name()), QString::fromUtf8(name)),
                         element.offset_debug()};
    return attribute;
}

std::int32_t RequiredInteger(pugi::xml_node element, const char* name) {
    const char* text = RequiredAttribute(element, name).value();
    const char* end = text + std::strlen(text);
    if (*text == '+')
        ++text;
    std::int32_t value = 0;
    const auto [stop, error] = std::from_chars(text, end, value);
    if (error != std::errc() || stop != end || text == end)
        throw TNodeError{FillTemplate(LoadStr(error == std::errc::result_out_of_range && stop == end
                                                  ? StrNumberOutOfRange
                                                  : StrNotANumber),
                                      QString::fromUtf8(element.name()), QString::fromUtf8(name)),
                         element.offset_debug()};
    return value;
}

class TDepthGauge : public pugi::xml_tree_walker {
public:
    bool for_each(pugi::xml_node&) override {
        TooDeep = depth() >= MaxContentDepth;
        return !TooDeep;
    }
    bool TooDeep = false;
};

void WriteProjectNode(pugi::xml_node swot, const TProject& project) {
    swot.append_attribute("name").set_value(XmlUtf8(project.Title).constData());
    SetElementText(swot.append_child("comments"), LinesToStoredText(project.Comments));
    pugi::xml_node labels = swot.append_child("labels");
    for (int number = 1; number <= TLabels::Count; ++number)
        SetElementText(labels.append_child(("label" + std::to_string(number)).c_str()),
                       project.Labels.Value(number));
    pugi::xml_node items = swot.append_child("swot-items");
    for (const auto& item : project.Items) {
        pugi::xml_node element = items.append_child("swot-item");
        element.append_attribute("name").set_value(XmlUtf8(item->Name).constData());
        element.append_attribute("mark").set_value(item->Mark);
        element.append_attribute("swot-type").set_value(item->SwotType);
        SetElementText(element.append_child("comments"), LinesToStoredText(item->Comments));
    }
    pugi::xml_node guidelines = swot.append_child("guidelines");
    for (const auto& guideline : project.Guidelines) {
        pugi::xml_node element = guidelines.append_child("guideline");
        element.append_attribute("name").set_value(XmlUtf8(guideline->Name).constData());
        SetElementText(element.append_child("comments"), LinesToStoredText(guideline->Comments));
        pugi::xml_node couples = element.append_child("swotcouples");
        for (const TTOWSCouple& couple : guideline->Couples) {
            pugi::xml_node record = couples.append_child("swotcouple");
            record.append_attribute("index1").set_value(couple.Index1);
            record.append_attribute("index2").set_value(couple.Index2);
        }
    }
}

// Raises TNodeError, which only ReadProjectContent, knowing the document's
// text, turns into the message for the user.
void ReadProjectNode(pugi::xml_node swot, TProject& project) {
    if (const pugi::xml_attribute name = swot.attribute("name"))
        project.Title = QString::fromUtf8(name.value());
    project.Comments = StoredTextToLines(ElementText(swot.child("comments")));

    const pugi::xml_node labels = swot.child("labels");
    if (labels.first_child())
        for (int number = 1; number <= TLabels::Count; ++number)
            project.Labels.SetValue(
                number, ElementText(labels.child(("label" + std::to_string(number)).c_str())));

    project.Items.clear();
    for (pugi::xml_node element : swot.child("swot-items").children("swot-item")) {
        auto item = std::make_unique<TTOWSItem>();
        item->Name = QString::fromUtf8(RequiredAttribute(element, "name").value());
        item->Mark = RequiredInteger(element, "mark");
        item->SwotType = RequiredInteger(element, "swot-type");
        item->Comments = StoredTextToLines(ElementText(element.child("comments")));
        project.Items.push_back(std::move(item));
    }

    project.Guidelines.clear();
    for (pugi::xml_node element : swot.child("guidelines").children("guideline")) {
        auto guideline = std::make_unique<TGuideline>();
        guideline->Name = QString::fromUtf8(RequiredAttribute(element, "name").value());
        guideline->Comments = StoredTextToLines(ElementText(element.child("comments")));
        for (pugi::xml_node record : element.child("swotcouples").children("swotcouple")) {
            const std::int32_t index1 = RequiredInteger(record, "index1");
            const std::int32_t index2 = RequiredInteger(record, "index2");
            // A record naming no factor of the project would lead every
            // screen and report astray.
            if (project.IsValidPosition(index1) && project.IsValidPosition(index2))
                guideline->AddCouple(index1, index2);
        }
        project.Guidelines.push_back(std::move(guideline));
    }
}

} // namespace

std::unique_ptr<TProject> ReadProjectContent(const QByteArray& original) {
    const QByteArray content = WithoutForbiddenCharacters(AsUtf8(original));
    if (content.count('<') > MaxContentTags)
        throw EStorageError(FillTemplate(LoadStr(StrTooManyTags), QString::number(MaxContentTags)));
    pugi::xml_document document;
    const pugi::xml_parse_result parsed =
        document.load_buffer(content.constData(), static_cast<size_t>(content.size()),
                             (pugi::parse_default | pugi::parse_doctype) & ~pugi::parse_eol);
    if (!parsed)
        throw EStorageError(FillTemplate(
            LoadStr(StrNotWellFormed), QString::fromUtf8(parsed.description()) + QLatin1Char(' ') +
                                           TextLocation(content, parsed.offset)));
    // Entities are never expanded; a document that declares them is hostile.
    for (pugi::xml_node node : document.children())
        if (node.type() == pugi::node_doctype)
            throw EStorageError(LoadStr(StrDocumentType));
    TDepthGauge gauge;
    document.traverse(gauge);
    if (gauge.TooDeep)
        throw EStorageError(FillTemplate(LoadStr(StrTooDeep), QString::number(MaxContentDepth)));
    const pugi::xml_node root = document.document_element();
    if (std::strcmp(root.name(), "document-content") != 0)
        throw EStorageError(
            FillTemplate(LoadStr(StrWrongDocumentElement), QString::fromUtf8(root.name())));
    if (std::strcmp(root.attribute("class").value(), "swot") != 0)
        throw EStorageError(ProductStr(StrNotAProject));

    auto project = std::make_unique<TProject>();
    try {
        ReadProjectNode(root.child("swot"), *project);
    } catch (const TNodeError& error) {
        throw EStorageError(error.Message + QLatin1Char(' ') + TextLocation(content, error.Offset));
    }
    return project;
}

std::unique_ptr<TProject> ReadProjectArchive(const QByteArray& archive) {
    return ReadProjectContent(ExtractEntryFromMemory(archive, ContentName, MaxContentSize));
}

std::unique_ptr<TProject> ReadProject(const QString& path) {
    return ReadProjectContent(ExtractEntry(path, ContentName, MaxContentSize));
}

QByteArray ProjectContent(const TProject& project) {
    pugi::xml_document document;
    pugi::xml_node root = document.append_child("document-content");
    root.append_attribute("class").set_value("swot");
    root.append_attribute("version").set_value("1.0");
    WriteProjectNode(root.append_child("swot"), project);
    return XmlBytes(document, pugi::format_raw | pugi::format_no_declaration);
}

QString TextLocation(const QByteArray& text, qsizetype offset) {
    offset = std::clamp<qsizetype>(offset, 0, text.size());
    const QByteArrayView before(text.constData(), offset);
    const qsizetype lineStart = before.lastIndexOf('\n') + 1;
    return FillTemplate(LoadStr(StrLineColumn), QString::number(before.count('\n') + 1),
                        QString::number(offset - lineStart + 1));
}

QString XmlText(const QString& text) {
    if (std::ranges::all_of(text, [](QChar c) { return IsXmlCharacter(c.unicode()); }))
        return text;
    QString kept = text;
    kept.removeIf([](QChar c) { return !IsXmlCharacter(c.unicode()); });
    return kept;
}

QByteArray XmlUtf8(const QString& text) {
    return XmlText(text).toUtf8();
}

QByteArray XmlBytes(const pugi::xml_document& document, unsigned int flags) {
    struct TByteWriter : pugi::xml_writer {
        void write(const void* data, size_t size) override {
            Bytes.append(static_cast<const char*>(data), static_cast<qsizetype>(size));
        }
        QByteArray Bytes;
    } writer;
    document.save(writer, "", flags, pugi::encoding_utf8);
    return writer.Bytes;
}

QByteArray StorableContent(const TProject& project) {
    QByteArray content = ProjectContent(project);
    // What the reader would refuse is never written: the user would lose it.
    if (content.count('<') > MaxContentTags)
        throw EStorageError(
            FillTemplate(LoadStr(StrSaveTooManyTags), QString::number(MaxContentTags)));
    if (content.size() > MaxContentSize)
        throw EStorageError(
            FillTemplate(LoadStr(StrSaveTooLarge), QString::number(MaxContentSize >> 20)));
    return content;
}

QByteArray ProjectArchive(const TProject& project, std::vector<TArchiveEntry> further) {
    further.insert(further.begin(),
                   {QString::fromLatin1(ContentName), StorableContent(project), {}});
    return ZipArchive(further);
}

TWriteWay WriteProject(const TProject& project, const QString& path) {
    return WriteFileAtomically(path, ProjectArchive(project), true);
}
