#pragma once

#include <QString>
#include <QStringList>

// Comments lists hold rich text as RTF lines. These conversions move them
// between their stored form, the reading filter, the tag markup of the text
// report, plain text and the comments editor.

// The list's entries joined with "<BR>", and every carriage return inside
// them made a "<BR>", which reading makes a carriage return.
QString LinesToStoredText(const QStringList& lines);

// Every "<BR>" made a carriage return, the result filtered; always one entry,
// which holds no "<BR>".
QStringList StoredTextToLines(const QString& stored);

// Reduces RTF to the opening brace, the kept control words (bold, italic,
// underline, paragraph marks and the document header), hex escapes, the
// control symbols "\\", "\{" and "\}", and the text. Nested groups go.
QString FilterRtf(const QString& text);

// The tag markup of the comments: "<b>", "</b>", "<i>", "</i>", "<u>", "</u>"
// and "<br>" in the text; one entry.
QStringList RtfToTagMarkup(const QStringList& lines);

// Whether the text holds anything but formatting, braces and blanks.
bool HasVisibleText(const QString& text);

// The plain text of the comments, paragraphs separated by CR LF.
QString RtfToPlainText(const QStringList& lines);

// The plain text of the comments as data files hold it: lines separated by
// line feeds.
QString CommentText(const QStringList& lines);

// Comments of plain text: one paragraph per line, no formatting; none for an
// empty text.
QStringList PlainTextToLines(const QString& text);

// Splits at each carriage return; a non-empty rest is the last entry.
QStringList SplitAtReturns(const QString& text);

// The lines, each followed by CR LF: what an editor loads as RTF.
QString LinesToStream(const QStringList& lines);

// A new list of the lines; an entry holding line breaks becomes several.
QStringList CopyLines(const QStringList& lines);

// The text with its control characters written as "\uXXXX", so that a
// message quoting what a file holds shows it whole.
QString Printable(const QString& text);

// Replaces every "#1" in the template with the first value, then, only when
// the second value is not empty, every "#2" with the second value.
QString FillTemplate(const QString& pattern, const QString& first, const QString& second = {});

// A string-table text with "#1" filled with the product name.
QString ProductStr(int id);
