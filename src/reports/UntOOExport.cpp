#include "reports/UntOOExport.h"

#include "model/UntStrings.h"
#include "reports/UntReportXml.h"
#include "storage/UntIO.h"
#include "storage/UntUtils.h"

#include <array>
#include <cstring>
#include <memory>

namespace {

const std::array<QString, 7> Tags = {"<b>", "</b>", "<i>", "</i>", "<u>", "</u>", "<br>"};

// The tag that starts at the position, or none.
const QString* TagAt(const QString& markup, qsizetype position) {
    const auto tag = std::ranges::find_if(Tags, [&](const QString& candidate) {
        return QStringView(markup).mid(position).startsWith(candidate);
    });
    return tag == Tags.end() ? nullptr : &*tag;
}

// The names of the report's elements and attributes in the template's prefixes.
struct TTextNames {
    explicit TTextNames(pugi::xml_node root)
        : names(root), h(names(TextNamespace, "h")), p(names(TextNamespace, "p")),
          span(names(TextNamespace, "span")), styleName(names(TextNamespace, "style-name")),
          level(names(TextNamespace, "level")) {}
    TXmlNames names;
    std::string h, p, span, styleName, level;
};

// The names of the document that holds the node.
TTextNames CurrentNames(pugi::xml_node anyNode) {
    for (const pugi::xml_node child : anyNode.root().children())
        if (child.type() == pugi::node_element)
            return TTextNames(child);
    return TTextNames(pugi::xml_node());
}

// Whether the paragraph holds nothing but line breaks.
bool HoldsOnlyLineBreaks(pugi::xml_node paragraph) {
    for (pugi::xml_node span : paragraph.children())
        for (const char* c = span.text().get(); *c; ++c)
            if (*c != '\r' && *c != '\n')
                return false;
    return true;
}

QString SpanStyle(bool bold, bool italic, bool underline) {
    if (!bold && !italic && !underline)
        return QStringLiteral("Standard");
    return QStringLiteral("T") + (bold ? "bold" : "") + (italic ? "ital" : "") +
           (underline ? "underl" : "");
}

void AddStyle(pugi::xml_node styles, const TXmlNames& names, const char* name, const char* family,
              std::initializer_list<std::pair<const char*, const char*>> properties,
              const char* parent = nullptr) {
    pugi::xml_node style = styles.append_child(names(StyleNamespace, "style").c_str());
    style.append_attribute(names(StyleNamespace, "name").c_str()).set_value(name);
    style.append_attribute(names(StyleNamespace, "family").c_str()).set_value(family);
    if (parent)
        style.append_attribute(names(StyleNamespace, "parent-style-name").c_str())
            .set_value(parent);
    pugi::xml_node props = style.append_child(names(StyleNamespace, "properties").c_str());
    for (const auto& [attribute, value] : properties) {
        const char* colon = std::strchr(attribute, ':');
        const std::string prefix(attribute, colon);
        const char* uri = prefix == "fo" ? FoNamespace : StyleNamespace;
        props.append_attribute(names(uri, colon + 1).c_str()).set_value(value);
    }
}

} // namespace

void AddTextStyles(pugi::xml_document& document) {
    const pugi::xml_node root = document.document_element();
    const TXmlNames names(root);
    pugi::xml_node styles = RequiredChild(root, names(OfficeNamespace, "automatic-styles"));
    const char* bold = "fo:font-weight";
    const char* italic = "fo:font-style";
    const char* underline = "style:text-underline";
    AddStyle(styles, names, "Tbold", "text", {{bold, "bold"}});
    AddStyle(styles, names, "Tital", "text", {{italic, "italic"}});
    AddStyle(styles, names, "Tunderl", "text", {{underline, "single"}});
    AddStyle(styles, names, "Tboldital", "text", {{bold, "bold"}, {italic, "italic"}});
    AddStyle(styles, names, "Tboldunderl", "text", {{bold, "bold"}, {underline, "single"}});
    AddStyle(styles, names, "Titalunderl", "text", {{italic, "italic"}, {underline, "single"}});
    AddStyle(styles, names, "Tbolditalunderl", "text",
             {{bold, "bold"}, {italic, "italic"}, {underline, "single"}});
    AddStyle(styles, names, "PageBreak", "paragraph", {{"fo:break-before", "page"}});
    AddStyle(styles, names, "Table1", "table", {{"style:width", "16.999cm"}});
    AddStyle(styles, names, "Table1.A", "table-column", {{"style:column-width", "5.999cm"}});
    AddStyle(styles, names, "Table1.B", "table-column", {{"style:column-width", "10.999cm"}});
    AddStyle(styles, names, "Table1.C", "table-column", {{"style:column-width", "2.999cm"}});
    AddStyle(styles, names, "Cell1", "table-cell",
             {{"fo:padding", "0.097cm"}, {"fo:border", "0.002cm solid #000000"}});
    AddStyle(styles, names, "fr3", "graphics",
             {{"style:horizontal-pos", "center"}, {"style:horizontal-rel", "paragraph"}}, "OLE");
}

void AddHeading(pugi::xml_node body, const QString& text, int level) {
    const TTextNames names = CurrentNames(body);
    pugi::xml_node heading = body.append_child(names.h.c_str());
    heading.append_attribute(names.styleName.c_str())
        .set_value(("Heading " + std::to_string(level)).c_str());
    heading.append_attribute(names.level.c_str()).set_value(level);
    heading.text().set(XmlUtf8(text).constData());
}

TMarkupToken NextMarkupToken(const QString& markup, qsizetype& position) {
    TMarkupToken token;
    for (int consumed = 0; consumed < 3; ++consumed) {
        const QString* tag = TagAt(markup, position);
        if (!tag)
            break;
        token.Tags << *tag;
        position += tag->size();
    }
    if (!token.Tags.isEmpty())
        return token;
    // The text runs to the next "<" that opens a tag; each character is
    // looked at once, so a long comment costs in proportion to its length.
    qsizetype next = position;
    while ((next = markup.indexOf(QLatin1Char('<'), next)) >= 0 && !TagAt(markup, next))
        ++next;
    if (next < 0)
        next = markup.size();
    token.Text = markup.mid(position, next - position);
    position = next;
    return token;
}

void AddCommentParagraphs(pugi::xml_node body, const QStringList& comments) {
    const TTextNames names = CurrentNames(body);
    const QString markup = RtfToTagMarkup(comments).front();
    const auto newParagraph = [&] {
        pugi::xml_node paragraph = body.append_child(names.p.c_str());
        paragraph.append_attribute(names.styleName.c_str()).set_value("Text body indent");
        return paragraph;
    };
    pugi::xml_node paragraph = newParagraph();
    bool bold = false, italic = false, underline = false, breakPending = false;
    const auto openPendingParagraph = [&] {
        if (breakPending)
            paragraph = newParagraph();
        breakPending = false;
    };
    for (qsizetype position = 0; position < markup.size();) {
        const TMarkupToken token = NextMarkupToken(markup, position);
        for (const QString& tag : token.Tags) {
            openPendingParagraph();
            if (tag == QLatin1String("<br>"))
                breakPending = true;
            else if (tag.endsWith(QLatin1String("b>")))
                bold = !tag.startsWith(QLatin1String("</"));
            else if (tag.endsWith(QLatin1String("i>")))
                italic = !tag.startsWith(QLatin1String("</"));
            else
                underline = !tag.startsWith(QLatin1String("</"));
        }
        if (token.Text.isEmpty())
            continue;
        openPendingParagraph();
        pugi::xml_node span = paragraph.append_child(names.span.c_str());
        span.append_attribute(names.styleName.c_str())
            .set_value(SpanStyle(bold, italic, underline).toUtf8().constData());
        span.text().set(XmlUtf8(token.Text).constData());
    }
    // Comment text ends with a paragraph mark: the paragraph after it holds
    // at most the line breaks that followed the mark, and is no paragraph of
    // the comment. Text after the last mark stays.
    if (!breakPending && HoldsOnlyLineBreaks(paragraph))
        body.remove_child(paragraph);
}

void AddPlainParagraphs(pugi::xml_node body, const QStringList& lines) {
    const TTextNames names = CurrentNames(body);
    for (const QString& line : lines) {
        pugi::xml_node paragraph = body.append_child(names.p.c_str());
        paragraph.append_attribute(names.styleName.c_str()).set_value("Text body indent");
        paragraph.text().set(XmlUtf8(line).constData());
    }
}

namespace {

// The comments of a project, factor or conclusion, when they show anything.
void AddComments(pugi::xml_node body, const QStringList& comments) {
    if (HasVisibleText(LinesToStream(comments)))
        AddCommentParagraphs(body, comments);
}

// The table of contents is titled in the interface's language, also when the
// suite makes it anew from its title template.
void NameContents(pugi::xml_node body) {
    const TXmlNames names(body.parent());
    const QByteArray title = XmlUtf8(LoadStr(StrReportContents));
    const pugi::xml_node contents = body.child(names(TextNamespace, "table-of-content").c_str());
    const pugi::xml_node source =
        contents.child(names(TextNamespace, "table-of-content-source").c_str());
    source.child(names(TextNamespace, "index-title-template").c_str())
        .text()
        .set(title.constData());
    contents.child(names(TextNamespace, "index-body").c_str())
        .child(names(TextNamespace, "index-title").c_str())
        .child(names(TextNamespace, "p").c_str())
        .text()
        .set(title.constData());
}

} // namespace

void BuildTextReport(pugi::xml_document& document, const TProject& project) {
    const pugi::xml_node root = document.document_element();
    const TXmlNames names(root);
    RequiredChild(root, names(OfficeNamespace, "automatic-styles"));
    pugi::xml_node body = RequiredChild(root, names(OfficeNamespace, "body"));
    AddTextStyles(document);
    NameContents(body);
    const TLabels& labels = project.Labels;

    AddHeading(body, project.Title, 1);
    AddComments(body, project.Comments);
    AddHeading(body, labels.Value(hdSituationAnalysis), 2);
    for (const auto& [groupHeading, types] : {std::pair{2, std::array{stStrength, stWeakness}},
                                              {3, std::array{stOpportunity, stThreat}}}) {
        AddHeading(body, labels.Value(groupHeading), 3);
        for (const std::int32_t type : types) {
            AddHeading(body, labels.Value(TypeHeading(type)), 4);
            for (const std::int32_t position : FactorsByImportance(project, type)) {
                const TTOWSItem& item = *project.Items[position];
                // A mark outside the scale has no words to show.
                if (item.Mark < mkLow || item.Mark > mkHigh)
                    continue;
                AddHeading(body,
                           item.Name + QStringLiteral(" - ") + labels.Value(MarkHeading(item.Mark)),
                           6);
                AddComments(body, item.Comments);
            }
        }
    }
    if (project.Guidelines.empty())
        return;

    AddHeading(body, labels.Value(hdConclusions), 2);
    for (const auto& guideline : project.Guidelines) {
        AddHeading(body,
                   guideline->Name + QStringLiteral(" - ") + labels.Value(hdWeight) +
                       QStringLiteral(" : ") +
                       QString::number(GetGuidelineWeight(project, *guideline)),
                   6);
        AddComments(body, guideline->Comments);
    }

    const TCoupleIndex holders(project);
    const std::vector<TCoupling> held = holders.HeldInReportOrder(project);
    AddHeading(body, labels.Value(hdConclusionsByCoupling), 2);
    std::optional<TCouplingKind> shownKind;
    // Each conclusion's captions by kind, in report order, once per record.
    std::vector<std::vector<std::pair<TCouplingKind, QString>>> byGuideline(
        project.Guidelines.size());
    for (const TCoupling& coupling : held) {
        if (shownKind != coupling.Kind)
            AddHeading(body, labels.Value(KindHeading(coupling.Kind)), 3);
        shownKind = coupling.Kind;
        const QString caption = GetCouplingCaption(project, coupling.Index1, coupling.Index2);
        AddHeading(body, caption, 4);
        AddHeading(body, labels.Value(hdResultingConclusions) + QStringLiteral(" :"), 5);
        // The names are plain text already, and are printed as they are.
        QStringList names;
        for (const int g : holders.Holders(coupling.Index1, coupling.Index2)) {
            names << project.Guidelines[static_cast<std::size_t>(g)]->Name;
            byGuideline[static_cast<std::size_t>(g)].push_back({coupling.Kind, caption});
        }
        AddPlainParagraphs(body, {names.join(QStringLiteral(" ; "))});
    }

    AddHeading(body, labels.Value(hdCouplingsByConclusion), 2);
    for (std::size_t g = 0; g < project.Guidelines.size(); ++g) {
        AddHeading(body, project.Guidelines[g]->Name, 3);
        const auto& captions = byGuideline[g];
        for (auto from = captions.begin(); from != captions.end();) {
            const auto to = std::find_if(from, captions.end(), [from](const auto& entry) {
                return entry.first != from->first;
            });
            AddHeading(body, labels.Value(KindHeading(from->first)), 4);
            QStringList lines;
            for (auto it = from; it != to; ++it)
                lines << it->second;
            AddPlainParagraphs(body, lines);
            from = to;
        }
    }
}
