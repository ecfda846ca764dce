#pragma once

#include <QString>
#include <QStringList>
#include <vector>

// A run of text with one character format.
struct TRtfRun {
    QString Text;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;

    bool SameFormat(const TRtfRun& other) const {
        return Bold == other.Bold && Italic == other.Italic && Underline == other.Underline;
    }
    friend bool operator==(const TRtfRun&, const TRtfRun&) = default;
};

using TRtfParagraph = std::vector<TRtfRun>;
using TRtfDocument = std::vector<TRtfParagraph>;

// Reads RTF into paragraphs of runs, keeping bold, italic and underline. Text
// that does not start with "{\rtf" is taken as plain text, one paragraph per
// line. Destinations (font and colour tables, pictures, "{\*...}" groups) are
// skipped; "\'hh" escapes are read as Windows-1252 and "\uN" escapes as
// Unicode. A paragraph mark at the very end opens no further paragraph.
TRtfDocument ReadRtf(const QString& rtf);

// The document's text, paragraphs separated by carriage return and line feed.
QString PlainText(const TRtfDocument& document);

// Writes the document as RTF lines in which every control word is followed by
// a space, a backslash or a brace, never by a line break, and in which no
// character needs more than the kept control words to survive reading.
QStringList WriteRtf(const TRtfDocument& document);

// The character of a Windows-1252 code.
QChar Cp1252Char(int code);

// Characters of RTF's own syntax, which is ASCII.
inline bool IsAsciiLetter(QChar c) {
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}

inline bool IsAsciiDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// A control word of RTF: a backslash, the letters of its name, then an
// optional number with its sign.
struct TControlWord {
    QStringView Name;      // the backslash and the letters
    QStringView Parameter; // the sign and digits; empty without a number
    qsizetype End;         // the position after the word

    // The number, capped far beyond any value RTF uses.
    long long Value() const;
};

// Lexes the control word whose backslash is at the position; a letter follows it.
TControlWord LexControlWord(QStringView text, qsizetype backslash);

// The value of a hexadecimal digit, or -1.
inline int HexValue(QChar c) {
    if (IsAsciiDigit(c))
        return c.unicode() - '0';
    if (c >= QLatin1Char('a') && c <= QLatin1Char('f'))
        return c.unicode() - 'a' + 10;
    if (c >= QLatin1Char('A') && c <= QLatin1Char('F'))
        return c.unicode() - 'A' + 10;
    return -1;
}
