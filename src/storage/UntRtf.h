#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringConverter>
#include <QStringList>
#include <algorithm>
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

// Plain text as paragraphs, one per line; control characters other than tab go.
TRtfDocument ReadPlainText(const QString& text);

// The document's text, paragraphs separated by carriage return and line feed.
QString PlainText(const TRtfDocument& document);

// Writes the document as RTF lines in which every control word is followed by
// a space, a backslash or a brace, never by a line break, and in which no
// character needs more than the kept control words to survive reading.
QStringList WriteRtf(const TRtfDocument& document);

// The character of a Windows-1252 code.
QChar Cp1252Char(int code);

// The text of the bytes in the encoding, or in Windows-1252, what Windows
// programs write by default, when they are not valid in it.
QString DecodedOrCp1252(QByteArrayView bytes,
                        QStringConverter::Encoding encoding = QStringConverter::Utf8);

// Characters of RTF's own syntax, which is ASCII.
inline bool IsAsciiLetter(QChar c) {
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}

inline bool IsAsciiDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

enum class TRtfTokenKind { GroupOpen, GroupClose, ControlWord, ControlSymbol, HexEscape, Text };

// One token of RTF. Only the members of its kind are set.
struct TRtfToken {
    TRtfTokenKind Kind = TRtfTokenKind::Text;
    QStringView Source;     // as written, a control word's delimiting space included
    QStringView Name;       // control word: the backslash and the letters
    QStringView Parameter;  // control word: the sign and digits; empty without a number
    bool Delimited = false; // control word: a space ended it
    QChar Symbol;           // control symbol: the character after the backslash, or none
                            // for a backslash that ends the text
    int Code = -1;          // hex escape: the byte, or -1 when "\'" lacks two hex digits

    // A control word without its delimiting space, as the kept words of the
    // reading filter are compared.
    QStringView Word() const { return Source.first(Name.size() + Parameter.size()); }

    // A control word's number, capped far beyond any value RTF uses.
    long long Value() const;
};

// Cuts RTF into tokens. A text run stops only at a backslash or a brace, so
// line breaks are part of it. A malformed hex escape is only its "\'", and
// what follows is lexed on its own.
class TRtfLexer {
public:
    explicit TRtfLexer(QStringView text) : FText(text) {}

    bool AtEnd() const { return FPos >= FText.size(); }
    qsizetype Position() const { return FPos; }
    // Fallback characters of Unicode escapes may end inside a text run or
    // take a malformed escape whole, so readers sometimes move on by hand.
    void Seek(qsizetype position) { FPos = std::min(position, FText.size()); }
    QStringView Text() const { return FText; }

    // The next token; AtEnd() must be false.
    TRtfToken Next();

private:
    QStringView FText;
    qsizetype FPos = 0;
};

enum class TRtfSymbolMeaning { Nothing, Character, ParagraphMark, Destination };

// What a control symbol stands for: a character, a paragraph mark, or, at
// the start of a group, a destination that readers who do not know it skip.
struct TRtfSymbol {
    TRtfSymbolMeaning Meaning = TRtfSymbolMeaning::Nothing;
    QChar Character;
};

// The meaning of the control symbol written as a backslash and the character.
TRtfSymbol RtfSymbol(QChar symbol);

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
