#pragma once

#include "model/UntClassProject.h"

#include <QString>
#include <QStringList>
#include <pugixml.hpp>

// The text report: fills the loaded Writer content template in place with
// automatic styles and the report body made from the project.
void BuildTextReport(pugi::xml_document& document, const TProject& project);

// The helpers of the text report, on the template's automatic styles and body.
void AddTextStyles(pugi::xml_document& document);
void AddHeading(pugi::xml_node body, const QString& text, int level);
void AddCommentParagraphs(pugi::xml_node body, const QStringList& comments);
void AddPlainParagraphs(pugi::xml_node body, const QStringList& lines);

// The next token of tag markup from the position, which it moves past the
// token: a text run, or one tag (up to three adjoining tags in one call).
struct TMarkupToken {
    QString Text;
    QStringList Tags;
};
TMarkupToken NextMarkupToken(const QString& markup, qsizetype& position);
