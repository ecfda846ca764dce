#include "reports/UntPictures.h"

#include "model/UntStrings.h"
#include "reports/UntReportXml.h"
#include "storage/UntDataModule.h"
#include "storage/UntErrors.h"
#include "storage/UntUtils.h"

#include <QBuffer>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QTextLayout>
#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <vector>

namespace {

constexpr qreal Margin = 24;
constexpr qreal Padding = 8;
const QColor Ink(0x1A, 0x1A, 0x1A);
const QColor Quiet(0x4D, 0x4D, 0x4D);

// Dark enough for white text (contrast above 5.9 to 1), and apart in
// lightness as well as in hue: strength, weakness, opportunity, threat.
const std::array<QColor, 4> TypeColours = {QColor(0x00, 0x6B, 0x4F), QColor(0xA1, 0x48, 0x00),
                                           QColor(0x0B, 0x53, 0x94), QColor(0x6A, 0x3D, 0x9A)};
// The coupling kinds in colours that readers who do not tell red from green
// still tell apart (Okabe and Ito); dark text reads on each of them.
const std::array<QColor, 4> KindColours = {QColor(0x00, 0x9E, 0x73), QColor(0x56, 0xB4, 0xE9),
                                           QColor(0xE6, 0x9F, 0x00), QColor(0xD5, 0x5E, 0x00)};

} // namespace

QColor TypeColour(std::int32_t type) {
    return TypeColours[static_cast<std::size_t>(type - stStrength)];
}

QColor KindColour(TCouplingKind kind) {
    return KindColours[static_cast<std::size_t>(kind) - 1];
}

namespace {

QFont Font(int pixels, bool bold = false, bool italic = false) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

// ---- Text laid out in lines ----

// The most lines a text takes in each place: a longer text is elided.
constexpr int TitleLines = 3;
constexpr int HeadingLines = 2;
constexpr int SquareNameLines = 8;
constexpr int RowNameLines = 3;

struct TLines {
    // Each line as it reads, its blanks kept, so that the lines joined give
    // the text back when nothing was elided.
    QStringList Lines;
    bool Elided = false;
};

// The text in at most maxLines lines of at most the width, broken between
// words, and within a word only when the word alone is wider; the last line
// elided when the text goes on. One pass over no more of the text than the
// lines could ever show, whatever its length.
TLines LayOut(const QString& text, const QFont& font, qreal width, int maxLines) {
    // No glyph we draw is narrower than a pixel, bar marks that combine with
    // the one before.
    const qsizetype mostShown =
        static_cast<qsizetype>(maxLines) * (static_cast<qsizetype>(width) + 2);
    QString head = text.left(4 * mostShown);
    const bool more =
        head.size() < text.size() &&
        std::any_of(text.begin() + head.size(), text.end(), [](QChar c) { return !c.isSpace(); });
    head = head.simplified();
    bool elided = more;
    if (head.size() > mostShown) {
        qsizetype cut = mostShown;
        if (head[cut - 1].isHighSurrogate())
            --cut;
        head.truncate(cut);
        elided = true;
    }

    TLines laid;
    QTextLayout layout(head, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    qsizetype end = 0;
    while (laid.Lines.size() < maxLines) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(width);
        laid.Lines << head.mid(line.textStart(), line.textLength());
        end = line.textStart() + line.textLength();
    }
    layout.endLayout();
    if (end < head.size())
        elided = true;
    if (laid.Lines.isEmpty())
        laid.Lines << QString();
    if (elided) {
        const QFontMetricsF metrics(font);
        laid.Lines.back() = metrics.elidedText(laid.Lines.back().trimmed() + QStringLiteral("…"),
                                               Qt::ElideRight, width);
        laid.Elided = true;
    }
    return laid;
}

qreal LinesHeight(qsizetype count, const QFont& font) {
    return static_cast<qreal>(count) * QFontMetricsF(font).lineSpacing();
}

// ---- Surfaces: a painter for PNG, SVG text of our own ----

// A name or heading: one text, drawn as lines from their baselines. Upwards
// turns it a quarter left around the origin, the lines in its coordinates.
struct TText {
    QFont Font;
    QColor Colour;
    std::vector<std::pair<QPointF, QString>> Lines;
    // The whole text when the lines show only its beginning.
    QString Whole;
    bool Upwards = false;
    QPointF Origin;
};

// A coupling's cell of the matrix.
struct TCell {
    qreal Left = 0;
    qreal Width = 0;
    TCouplingKind Kind = TCouplingKind::ckPieceOfLuck;
    std::int64_t Rating = 0;
    bool Held = false;
};

class TSurface {
public:
    virtual ~TSurface() = default;
    virtual void Rect(const QRectF& rect, const QColor& fill, const QColor& border,
                      qreal borderWidth) = 0;
    virtual void Dot(const QRectF& rect, const QColor& fill, const QColor& border,
                     qreal borderWidth) = 0;
    virtual void Text(const TText& text) = 0;
    // The cells of one row of the matrix, left to right.
    virtual void Cells(qreal top, qreal height, const std::vector<TCell>& cells) = 0;
};

// A colour between white and the colour, by the share of the colour.
QColor Tint(const QColor& colour, qreal share) {
    const auto mix = [share](int value) {
        return qRound(255 + (value - 255) * share);
    };
    return QColor(mix(colour.red()), mix(colour.green()), mix(colour.blue()));
}

qreal Luminance(const QColor& colour) {
    const auto linear = [](qreal value) {
        return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
           0.0722 * linear(colour.blueF());
}

// Dark or white text, whichever contrasts more with the fill.
QColor TextOn(const QColor& fill) {
    const qreal luminance = Luminance(fill);
    return (luminance + 0.05) / 0.05 >= 1.05 / (luminance + 0.05) ? Ink : Qt::white;
}

// The fill of a cell: the kind's colour, fuller for a higher rating, so that
// the shading also reads in grey print.
QColor CellFill(TCouplingKind kind, std::int64_t rating) {
    const qreal share =
        0.12 + 0.88 * static_cast<qreal>(std::clamp<std::int64_t>(rating, 1, 9) - 1) / 8;
    return Tint(KindColour(kind), share);
}

const QFont& RatingFont() {
    static const QFont font = Font(12, true);
    return font;
}

// Where the rating of a cell starts on its baseline.
QPointF RatingOrigin(const TCell& cell, qreal top, qreal height, const QString& rating) {
    const QFontMetricsF metrics(RatingFont());
    return {cell.Left + (cell.Width - metrics.horizontalAdvance(rating)) / 2,
            top + (height - metrics.height()) / 2 + metrics.ascent()};
}

// The corner of a held cell's mark, and its side.
qreal CornerSize(const TCell& cell, qreal height) {
    return std::min(cell.Width, height) * 0.35;
}

class TPainterSurface : public TSurface {
public:
    explicit TPainterSurface(QPainter& painter) : FPainter(painter) {}

    void Rect(const QRectF& rect, const QColor& fill, const QColor& border,
              qreal borderWidth) override {
        Pens(fill, border, borderWidth);
        FPainter.drawRect(rect);
    }
    void Dot(const QRectF& rect, const QColor& fill, const QColor& border,
             qreal borderWidth) override {
        Pens(fill, border, borderWidth);
        FPainter.drawEllipse(rect);
    }
    void Text(const TText& text) override {
        FPainter.save();
        FPainter.setFont(text.Font);
        FPainter.setPen(text.Colour);
        if (text.Upwards) {
            FPainter.translate(text.Origin);
            FPainter.rotate(-90);
        }
        for (const auto& [baseline, line] : text.Lines)
            FPainter.drawText(baseline, line);
        FPainter.restore();
    }
    void Cells(qreal top, qreal height, const std::vector<TCell>& cells) override {
        for (const TCell& cell : cells) {
            const QRectF rect(cell.Left, top, cell.Width, height);
            const QColor fill = CellFill(cell.Kind, cell.Rating);
            Rect(rect, fill, Qt::white, 1);
            const QString rating = QString::number(cell.Rating);
            FPainter.setFont(RatingFont());
            FPainter.setPen(TextOn(fill));
            FPainter.drawText(RatingOrigin(cell, top, height, rating), rating);
            if (!cell.Held)
                continue;
            // A heavy frame and a corner, not colour alone.
            FPainter.setPen(QPen(Ink, 2.5));
            FPainter.setBrush(Qt::NoBrush);
            FPainter.drawRect(rect.adjusted(1.5, 1.5, -1.5, -1.5));
            const qreal size = CornerSize(cell, height);
            QPainterPath corner;
            corner.moveTo(rect.topRight());
            corner.lineTo(rect.topRight() + QPointF(-size, 0));
            corner.lineTo(rect.topRight() + QPointF(0, size));
            corner.closeSubpath();
            FPainter.fillPath(corner, Ink);
        }
    }

private:
    void Pens(const QColor& fill, const QColor& border, qreal borderWidth) {
        FPainter.setPen(border.alpha() == 0 ? QPen(Qt::NoPen) : QPen(border, borderWidth));
        FPainter.setBrush(fill.alpha() == 0 ? QBrush(Qt::NoBrush) : QBrush(fill));
    }

    QPainter& FPainter;
};

// A number as short as it reads: two decimals at most, no trailing zeros.
QString Num(qreal value) {
    QString text = QString::number(value, 'f', 2);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}

QString Escaped(const QString& text) {
    return text.toHtmlEscaped();
}

// Writes SVG of our own: every paint and font is a class of one style sheet,
// written once however many shapes use it, and a name is one text element.
class TSvgSurface : public TSurface {
public:
    void Rect(const QRectF& rect, const QColor& fill, const QColor& border,
              qreal borderWidth) override {
        FBody +=
            QStringLiteral("<rect class=\"%1\" x=\"%2\" y=\"%3\" width=\"%4\" height=\"%5\"/>\n")
                .arg(Class(Paint(fill, border, borderWidth)), Num(rect.x()), Num(rect.y()),
                     Num(rect.width()), Num(rect.height()));
    }
    void Dot(const QRectF& rect, const QColor& fill, const QColor& border,
             qreal borderWidth) override {
        FBody += QStringLiteral("<circle class=\"%1\" cx=\"%2\" cy=\"%3\" r=\"%4\"/>\n")
                     .arg(Class(Paint(fill, border, borderWidth)), Num(rect.center().x()),
                          Num(rect.center().y()), Num(rect.width() / 2));
    }
    void Text(const TText& text) override {
        FBody += QStringLiteral("<text class=\"%1\"").arg(Class(Lettering(text.Font, text.Colour)));
        if (text.Upwards)
            FBody += QStringLiteral(" transform=\"translate(%1 %2) rotate(-90)\"")
                         .arg(Num(text.Origin.x()), Num(text.Origin.y()));
        if (text.Lines.size() == 1 && text.Whole.isEmpty()) {
            const auto& [baseline, line] = text.Lines.front();
            FBody += QStringLiteral(" x=\"%1\" y=\"%2\">%3</text>\n")
                         .arg(Num(baseline.x()), Num(baseline.y()), Escaped(line));
            return;
        }
        FBody += QLatin1Char('>');
        // A search is typed: the title holds the beginning of a name of any length.
        constexpr qsizetype mostTitle = 10'000;
        if (!text.Whole.isEmpty())
            FBody += QStringLiteral("<title>%1</title>")
                         .arg(Escaped(text.Whole.size() > mostTitle
                                          ? text.Whole.left(mostTitle) + QStringLiteral("…")
                                          : text.Whole));
        for (const auto& [baseline, line] : text.Lines)
            FBody += QStringLiteral("<tspan x=\"%1\" y=\"%2\">%3</tspan>")
                         .arg(Num(baseline.x()), Num(baseline.y()), Escaped(line));
        FBody += QStringLiteral("</text>\n");
    }
    // A row is a group at its height: one path per fill, one path for the
    // frames of held cells and one for their corners, and one text of the
    // ratings, each character placed in its cell.
    void Cells(qreal top, qreal height, const std::vector<TCell>& cells) override {
        FBody += QStringLiteral("<g transform=\"translate(0 %1)\">").arg(Num(top));
        std::map<QString, QString> shapes; // by class
        std::vector<QString> order;
        QString frames;
        QString corners;
        QString ratings;
        QString places;
        const QString white = Class(Lettering(RatingFont(), Qt::white));
        bool inWhite = false;
        const QFontMetricsF metrics(RatingFont());
        for (const TCell& cell : cells) {
            const QColor fill = CellFill(cell.Kind, cell.Rating);
            const QString name = Class(Paint(fill, Qt::white, 1));
            auto [shape, fresh] = shapes.try_emplace(name);
            if (fresh)
                order.push_back(name);
            shape->second += QStringLiteral("M%1 0h%2v%3h-%2z")
                                 .arg(Num(cell.Left), Num(cell.Width), Num(height));
            if (cell.Held) {
                frames += QStringLiteral("M%1 1.5h%2v%3h-%2z")
                              .arg(Num(cell.Left + 1.5), Num(cell.Width - 3), Num(height - 3));
                const qreal size = CornerSize(cell, height);
                corners +=
                    QStringLiteral("M%1 0h-%2l%2 %2z").arg(Num(cell.Left + cell.Width), Num(size));
            }
            const QString rating = QString::number(cell.Rating);
            const QPointF origin = RatingOrigin(cell, 0, height, rating);
            const bool onDark = TextOn(fill) != Ink;
            if (!ratings.isEmpty()) {
                // The blank between two ratings stands where the next begins.
                ratings += QLatin1Char(' ');
                places += Num(origin.x()) + QLatin1Char(' ');
            }
            if (onDark != inWhite) {
                ratings += onDark ? QStringLiteral("<tspan class=\"%1\">").arg(white)
                                  : QStringLiteral("</tspan>");
                inWhite = onDark;
            }
            for (qsizetype k = 0; k < rating.size(); ++k)
                places +=
                    Num(origin.x() + metrics.horizontalAdvance(rating.left(k))) + QLatin1Char(' ');
            ratings += rating;
        }
        if (inWhite)
            ratings += QStringLiteral("</tspan>");
        for (const QString& name : order)
            FBody += QStringLiteral("<path class=\"%1\" d=\"%2\"/>").arg(name, shapes[name]);
        if (!frames.isEmpty()) {
            FBody += QStringLiteral("<path class=\"%1\" d=\"%2\"/>")
                         .arg(Class(Paint(Qt::transparent, Ink, 2.5)), frames);
            FBody += QStringLiteral("<path class=\"%1\" d=\"%2\"/>")
                         .arg(Class(Paint(Ink, Qt::transparent, 0)), corners);
        }
        if (!cells.empty()) {
            places.chop(1);
            FBody += QStringLiteral("<text class=\"%1\" x=\"%2\" y=\"%3\">%4</text>")
                         .arg(Class(Lettering(RatingFont(), Ink)), places,
                              Num(RatingOrigin(cells.front(), 0, height, {}).y()), ratings);
        }
        FBody += QStringLiteral("</g>\n");
    }

    QByteArray Document(QSizeF size, const QString& title) const {
        QString svg = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                     "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" "
                                     "width=\"%1\" height=\"%2\" viewBox=\"0 0 %1 %2\">\n"
                                     "<title>%3</title>\n<style>\n")
                          .arg(Num(size.width()), Num(size.height()), Escaped(title));
        for (const auto& [style, name] : FClasses)
            svg += QStringLiteral(".%1{%2}\n").arg(name, style);
        svg += QStringLiteral("</style>\n<rect width=\"100%\" height=\"100%\" fill=\"#fff\"/>\n");
        QByteArray bytes = svg.toUtf8();
        bytes += FBody.toUtf8();
        bytes += "</svg>\n";
        return bytes;
    }

private:
    static QString Paint(const QColor& fill, const QColor& border, qreal borderWidth) {
        QString style =
            QStringLiteral("fill:") + (fill.alpha() == 0 ? QStringLiteral("none") : fill.name());
        if (border.alpha() != 0)
            style +=
                QStringLiteral(";stroke:%1;stroke-width:%2").arg(border.name(), Num(borderWidth));
        return style;
    }
    static QString Lettering(const QFont& font, const QColor& colour) {
        return QStringLiteral("font-family:'%1',sans-serif;font-size:%2px;font-weight:%3;"
                              "font-style:%4;fill:%5")
            .arg(font.family(), QString::number(font.pixelSize()),
                 font.bold() ? QStringLiteral("bold") : QStringLiteral("normal"),
                 font.italic() ? QStringLiteral("italic") : QStringLiteral("normal"),
                 colour.name());
    }
    // The class of a style, made at its first use.
    QString Class(const QString& style) {
        auto [found, fresh] = FClasses.try_emplace(style);
        if (fresh)
            found->second = QStringLiteral("s%1").arg(FClasses.size() - 1);
        return found->second;
    }

    std::map<QString, QString> FClasses; // style to class
    QString FBody;
};

// ---- Drawing, or measuring when the surface is missing ----

struct TContext {
    TSurface* Surface;
    const std::function<void()>& Checkpoint;
};

void FillRect(TSurface* surface, const QRectF& rect, const QColor& fill,
              const QColor& border = Qt::transparent, qreal borderWidth = 1) {
    if (surface)
        surface->Rect(rect, fill, border, borderWidth);
}

// Draws the lines from the top left corner, each centred in centreWidth when
// it is given.
void DrawLines(TSurface* surface, QPointF topLeft, const TLines& lines, const QString& whole,
               const QFont& font, const QColor& colour, qreal centreWidth = 0) {
    if (!surface)
        return;
    const QFontMetricsF metrics(font);
    TText text{font, colour, {}, lines.Elided ? whole : QString(), false, {}};
    qreal y = topLeft.y() + metrics.ascent();
    for (const QString& line : lines.Lines) {
        // A line keeps the blank it was broken at, which takes no room.
        const qreal x =
            centreWidth > 0
                ? topLeft.x() + (centreWidth - metrics.horizontalAdvance(line.trimmed())) / 2
                : topLeft.x();
        text.Lines.emplace_back(QPointF(x, y), line);
        y += metrics.lineSpacing();
    }
    surface->Text(text);
}

// One line of our own words.
void DrawWords(TSurface* surface, QPointF topLeft, const QString& words, const QFont& font,
               const QColor& colour) {
    DrawLines(surface, topLeft, TLines{{words}, false}, words, font, colour);
}

// The title of the project across the width; returns the height it takes.
qreal DrawTitle(TSurface* surface, const TProject& project, qreal width) {
    const QFont font = Font(22, true);
    const TLines lines = LayOut(project.Title, font, width, TitleLines);
    DrawLines(surface, {Margin, Margin}, lines, project.Title, font, Ink);
    return LinesHeight(lines.Lines.size(), font);
}

// ---- The SWOT diagram ----

constexpr qreal SwotWidth = 1000;
constexpr qreal DotSize = 10;
constexpr qreal DotsWidth = 3 * (DotSize + 3) + 6;

// The importance as three dots, as many filled as the mark: it reads in grey
// print and without colour.
void DrawDots(TSurface* surface, QPointF topLeft, std::int32_t mark, const QColor& colour) {
    if (!surface)
        return;
    for (int dot = 0; dot < 3; ++dot)
        surface->Dot(QRectF(topLeft.x() + dot * (DotSize + 3), topLeft.y(), DotSize, DotSize),
                     dot < mark ? colour : QColor(Qt::white), colour, 1.5);
}

// One square: its heading on the type's colour and its factors; returns its
// height, at least minimum.
qreal DrawSquare(const TContext& context, const TProject& project, std::int32_t type,
                 QPointF topLeft, qreal width, qreal minimum) {
    TSurface* surface = context.Surface;
    const QColor colour = TypeColour(type);
    const QFont headingFont = Font(16, true);
    const QFont nameFont = Font(13);
    const QString headingText = project.Labels.Value(TypeHeading(type));
    const TLines heading = LayOut(headingText, headingFont, width - 2 * Padding, HeadingLines);
    const qreal headingHeight = LinesHeight(heading.Lines.size(), headingFont) + 2 * Padding;

    const std::vector<std::int32_t> factors = FactorsByImportance(project, type);
    std::vector<TLines> names;
    names.reserve(factors.size());
    qreal body = Padding;
    for (const std::int32_t position : factors) {
        context.Checkpoint();
        names.push_back(LayOut(project.Items[static_cast<std::size_t>(position)]->Name, nameFont,
                               width - 2 * Padding - DotsWidth, SquareNameLines));
        body += LinesHeight(names.back().Lines.size(), nameFont) + 6;
    }
    const qreal height = std::max(minimum, headingHeight + body + Padding);
    if (!surface)
        return height;

    FillRect(surface, QRectF(topLeft, QSizeF(width, height)), Qt::white, colour, 2);
    FillRect(surface, QRectF(topLeft, QSizeF(width, headingHeight)), colour);
    DrawLines(surface, topLeft + QPointF(Padding, Padding), heading, headingText, headingFont,
              Qt::white);
    qreal y = topLeft.y() + headingHeight + Padding;
    const qreal dotOffset = (QFontMetricsF(nameFont).height() - DotSize) / 2;
    for (std::size_t i = 0; i < factors.size(); ++i) {
        const TTOWSItem& factor = *project.Items[static_cast<std::size_t>(factors[i])];
        DrawDots(surface, {topLeft.x() + Padding, y + dotOffset}, factor.Mark, colour);
        DrawLines(surface, {topLeft.x() + Padding + DotsWidth, y}, names[i], factor.Name, nameFont,
                  Ink);
        y += LinesHeight(names[i].Lines.size(), nameFont) + 6;
    }
    return height;
}

// The legend of the dots: one entry per mark, most important first.
qreal DrawDotLegend(TSurface* surface, const TProject& project, QPointF topLeft) {
    const QFont font = Font(12);
    const QFontMetricsF metrics(font);
    qreal x = topLeft.x();
    for (const std::int32_t mark : {mkHigh, mkMedium, mkLow}) {
        DrawDots(surface, {x, topLeft.y() + 3}, mark, Quiet);
        x += DotsWidth;
        const QString words = project.Labels.Value(MarkHeading(mark));
        const TLines line = LayOut(words, font, 280, 1);
        DrawLines(surface, {x, topLeft.y()}, line, words, font, Quiet);
        x += metrics.horizontalAdvance(line.Lines.front()) + 24;
    }
    return metrics.height();
}

// Draws the diagram, or only measures it when the surface is missing; returns its size.
QSizeF DrawSwot(const TContext& context, const TProject& project) {
    TSurface* surface = context.Surface;
    const qreal inner = SwotWidth - 2 * Margin;
    constexpr qreal gap = 16;
    const qreal column = (inner - gap) / 2;
    qreal y = Margin + DrawTitle(surface, project, inner) + 12;
    const QFont captionFont = Font(13, false, true);
    const std::array<std::array<std::int32_t, 2>, 2> rows = {
        {{stStrength, stWeakness}, {stOpportunity, stThreat}}};
    const std::array<int, 2> captions = {hdInternalFactors, hdExternalFactors};
    const TContext measuring{nullptr, context.Checkpoint};
    for (std::size_t row = 0; row < 2; ++row) {
        const QString captionText = project.Labels.Value(captions[row]);
        const TLines caption = LayOut(captionText, captionFont, inner, HeadingLines);
        DrawLines(surface, {Margin, y}, caption, captionText, captionFont, Quiet);
        y += LinesHeight(caption.Lines.size(), captionFont) + 4;
        // Both squares of a row take the height of the fuller one.
        qreal height = 120;
        for (std::size_t side = 0; side < 2; ++side)
            height =
                std::max(height, DrawSquare(measuring, project, rows[row][side], {}, column, 0));
        for (std::size_t side = 0; side < 2 && surface; ++side)
            DrawSquare(context, project, rows[row][side],
                       {Margin + static_cast<qreal>(side) * (column + gap), y}, column, height);
        y += height + 16;
    }
    y += DrawDotLegend(surface, project, {Margin, y});
    return {SwotWidth, y + Margin};
}

// ---- The TOWS matrix ----

constexpr qreal CellSize = 30;
constexpr qreal RowHeaderWidth = 280;
constexpr qreal BandHeight = 26;
constexpr qreal MaxColumnHeader = 360;

struct TTowsLayout {
    std::array<std::vector<std::int32_t>, 2> Internals; // strengths, weaknesses
    std::array<std::vector<std::int32_t>, 2> Externals; // opportunities, threats
    std::array<qreal, 2> GroupWidth{};
    std::array<qreal, 2> CellWidth{};
    std::vector<TLines> RowNames;    // by position
    std::vector<qreal> RowHeight;    // by position
    std::vector<TLines> ColumnNames; // by position
    qreal ColumnHeader = 0;
};

TTowsLayout LayOutTows(const TContext& context, const TProject& project) {
    TTowsLayout layout;
    const QFont nameFont = Font(12);
    const QFontMetricsF nameMetrics(nameFont);
    const QFont bandFont = Font(13, true);
    const QFontMetricsF bandMetrics(bandFont);
    layout.RowNames.resize(project.Items.size());
    layout.RowHeight.resize(project.Items.size());
    layout.ColumnNames.resize(project.Items.size());
    for (std::size_t i = 0; i < 2; ++i) {
        layout.Internals[i] =
            FactorsByImportance(project, static_cast<std::int32_t>(stStrength + i));
        layout.Externals[i] =
            FactorsByImportance(project, static_cast<std::int32_t>(stOpportunity + i));
    }
    for (const auto& group : layout.Internals)
        for (const std::int32_t position : group) {
            context.Checkpoint();
            const auto p = static_cast<std::size_t>(position);
            layout.RowNames[p] = LayOut(project.Items[p]->Name, nameFont,
                                        RowHeaderWidth - 2 * Padding, RowNameLines);
            layout.RowHeight[p] = std::max(
                CellSize, LinesHeight(layout.RowNames[p].Lines.size(), nameFont) + Padding);
        }
    // Headings are measured as they will be shown: on one line of the band.
    const auto headingWidth = [&](const QString& heading) {
        return bandMetrics.horizontalAdvance(
            LayOut(heading, bandFont, 4 * MaxColumnHeader, 1).Lines.front());
    };
    qreal longest = 0;
    for (std::size_t side = 0; side < 2; ++side) {
        const std::int32_t external = static_cast<std::int32_t>(stOpportunity + side);
        // A group is as wide as its headings need, its cells sharing the width.
        qreal headings = headingWidth(project.Labels.Value(TypeHeading(external)));
        for (const std::int32_t internal : {stStrength, stWeakness})
            headings = std::max(headings, headingWidth(project.Labels.Value(
                                              KindHeading(*GetCouplingKind(internal, external)))));
        const auto columns = static_cast<qreal>(layout.Externals[side].size());
        layout.GroupWidth[side] = std::max(columns * CellSize, headings + 2 * Padding);
        layout.CellWidth[side] = columns > 0 ? layout.GroupWidth[side] / columns : 0;
        for (const std::int32_t position : layout.Externals[side]) {
            context.Checkpoint();
            longest = std::max(longest,
                               nameMetrics.horizontalAdvance(
                                   LayOut(project.Items[static_cast<std::size_t>(position)]->Name,
                                          nameFont, MaxColumnHeader, 1)
                                       .Lines.front()));
        }
    }
    layout.ColumnHeader = std::clamp(longest + 2 * Padding, 60.0, MaxColumnHeader);
    // Column names run upwards; a longer one takes as many lines as its cell holds.
    const qreal lineWidth = layout.ColumnHeader - 2 * Padding;
    for (std::size_t side = 0; side < 2; ++side) {
        const auto fitting = std::max<qsizetype>(
            1, static_cast<qsizetype>(layout.CellWidth[side] / nameMetrics.lineSpacing()));
        for (const std::int32_t position : layout.Externals[side]) {
            context.Checkpoint();
            const auto p = static_cast<std::size_t>(position);
            layout.ColumnNames[p] =
                LayOut(project.Items[p]->Name, nameFont, lineWidth, static_cast<int>(fitting));
        }
    }
    return layout;
}

// A heading on a band of colour, centred, shortened only when the band is narrower.
void DrawBand(TSurface* surface, const QRectF& band, const QString& text, const QColor& fill) {
    if (!surface)
        return;
    FillRect(surface, band, fill, Qt::white, 1);
    const QFont font = Font(13, true);
    const QFontMetricsF metrics(font);
    const TLines line = LayOut(text, font, band.width() - Padding, 1);
    DrawLines(surface,
              {band.left() + Padding / 2, band.top() + (band.height() - metrics.height()) / 2},
              line, text, font, TextOn(fill), band.width() - Padding);
}

qreal DrawTowsLegend(TSurface* surface, QPointF topLeft) {
    const QFont font = Font(12);
    const qreal line = std::max(CellSize, QFontMetricsF(font).height());
    if (surface) {
        std::vector<TCell> scale;
        qreal x = topLeft.x();
        for (const std::int64_t rating : {1, 2, 3, 4, 6, 9}) {
            scale.push_back({x, CellSize, TCouplingKind::ckPieceOfLuck, rating, false});
            x += CellSize;
        }
        surface->Cells(topLeft.y(), CellSize, scale);
        surface->Cells(topLeft.y() + line + Padding, CellSize,
                       {{topLeft.x(), CellSize, TCouplingKind::ckPieceOfLuck, 4, true}});
    }
    const qreal textTop = topLeft.y() + (CellSize - QFontMetricsF(font).height()) / 2;
    DrawWords(surface, {topLeft.x() + 6 * CellSize + Padding, textTop}, LoadStr(StrRatingLegend),
              font, Quiet);
    DrawWords(surface, {topLeft.x() + CellSize + Padding, textTop + line + Padding},
              LoadStr(StrHeldLegend), font, Quiet);
    return 2 * line + Padding;
}

QSizeF DrawTows(const TContext& context, const TProject& project) {
    TSurface* surface = context.Surface;
    const TTowsLayout layout = LayOutTows(context, project);
    const QFont nameFont = Font(12);
    const QFontMetricsF nameMetrics(nameFont);
    const qreal legendWidth =
        6 * CellSize + Padding + nameMetrics.horizontalAdvance(LoadStr(StrRatingLegend));
    const qreal matrixWidth = RowHeaderWidth + layout.GroupWidth[0] + layout.GroupWidth[1];
    const qreal width = std::max({matrixWidth, legendWidth, 600.0}) + 2 * Margin;
    qreal y = Margin + DrawTitle(surface, project, width - 2 * Margin) + 12;
    const qreal left = Margin + RowHeaderWidth;
    const std::array<qreal, 2> groupLeft = {left, left + layout.GroupWidth[0]};

    // The external types over their groups, then the names of their factors.
    for (std::size_t side = 0; side < 2; ++side) {
        const std::int32_t type = static_cast<std::int32_t>(stOpportunity + side);
        DrawBand(surface, QRectF(groupLeft[side], y, layout.GroupWidth[side], BandHeight),
                 project.Labels.Value(TypeHeading(type)), TypeColour(type));
    }
    y += BandHeight;
    for (std::size_t side = 0; side < 2 && surface; ++side) {
        const qreal cell = layout.CellWidth[side];
        for (std::size_t column = 0; column < layout.Externals[side].size(); ++column) {
            const auto p = static_cast<std::size_t>(layout.Externals[side][column]);
            const TLines& lines = layout.ColumnNames[p];
            const qreal x = groupLeft[side] + static_cast<qreal>(column) * cell;
            const qreal textHeight = LinesHeight(lines.Lines.size(), nameFont);
            TText text{
                nameFont, Ink,
                {},       lines.Elided ? project.Items[p]->Name : QString(),
                true,     QPointF(x + (cell - textHeight) / 2, y + layout.ColumnHeader - Padding)};
            qreal baseline = nameMetrics.ascent();
            for (const QString& line : lines.Lines) {
                text.Lines.emplace_back(QPointF(0, baseline), line);
                baseline += nameMetrics.lineSpacing();
            }
            surface->Text(text);
        }
    }
    y += layout.ColumnHeader;

    const TCoupleIndex holders(project);
    std::vector<TCell> cells;
    for (std::size_t group = 0; group < 2; ++group) {
        const std::int32_t internal = static_cast<std::int32_t>(stStrength + group);
        DrawBand(surface, QRectF(Margin, y, RowHeaderWidth, BandHeight),
                 project.Labels.Value(TypeHeading(internal)), TypeColour(internal));
        for (std::size_t side = 0; side < 2; ++side) {
            const TCouplingKind kind =
                *GetCouplingKind(internal, static_cast<std::int32_t>(stOpportunity + side));
            DrawBand(surface, QRectF(groupLeft[side], y, layout.GroupWidth[side], BandHeight),
                     project.Labels.Value(KindHeading(kind)), KindColour(kind));
        }
        y += BandHeight;
        for (const std::int32_t index1 : layout.Internals[group]) {
            const auto p = static_cast<std::size_t>(index1);
            const qreal height = layout.RowHeight[p];
            if (surface) {
                context.Checkpoint();
                FillRect(surface, QRectF(Margin, y, RowHeaderWidth, height),
                         Tint(TypeColour(internal), 0.08), Qt::white, 1);
                DrawLines(
                    surface,
                    {Margin + Padding,
                     y + (height - LinesHeight(layout.RowNames[p].Lines.size(), nameFont)) / 2},
                    layout.RowNames[p], project.Items[p]->Name, nameFont, Ink);
                cells.clear();
                for (std::size_t side = 0; side < 2; ++side) {
                    const TCouplingKind kind =
                        *GetCouplingKind(internal, static_cast<std::int32_t>(stOpportunity + side));
                    const qreal cell = layout.CellWidth[side];
                    for (std::size_t column = 0; column < layout.Externals[side].size(); ++column) {
                        const std::int32_t index2 = layout.Externals[side][column];
                        cells.push_back({groupLeft[side] + static_cast<qreal>(column) * cell, cell,
                                         kind, GetCouplingRating(project, index1, index2),
                                         !holders.Holders(index1, index2).empty()});
                    }
                }
                surface->Cells(y, height, cells);
            }
            y += height;
        }
    }
    y += 16;
    y += DrawTowsLegend(surface, {Margin, y});
    return {width, y + Margin};
}

QSizeF Draw(const TContext& context, TPictureKind kind, const TProject& project) {
    return kind == TPictureKind::Swot ? DrawSwot(context, project) : DrawTows(context, project);
}

QByteArray Svg(TPictureKind kind, const TProject& project, QSizeF size,
               const std::function<void()>& checkpoint) {
    TSvgSurface surface;
    Draw({&surface, checkpoint}, kind, project);
    return surface.Document(size, project.Title);
}

QByteArray Png(TPictureKind kind, const TProject& project, QSizeF size,
               const std::function<void()>& checkpoint) {
    // Twice the drawing's own size at least, for crisp text; a huge picture is
    // held at a smaller scale rather than refused.
    constexpr qreal longestSide = 32'000;
    constexpr qreal mostPixels = 100'000'000;
    const qreal scale = std::min({std::max(2.0, 1600 / size.width()), longestSide / size.width(),
                                  longestSide / size.height(),
                                  std::sqrt(mostPixels / (size.width() * size.height()))});
    QImage image((size * scale).toSize(), QImage::Format_RGB32);
    if (image.isNull())
        throw EStorageError(
            FillTemplate(LoadStr(StrReportUnwritable),
                         QStringLiteral("%1 × %2").arg(image.width()).arg(image.height())));
    image.fill(Qt::white);
    image.setText(QStringLiteral("Title"), project.Title);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(scale, scale);
    TPainterSurface surface(painter);
    Draw({&surface, checkpoint}, kind, project);
    painter.end();
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return buffer.data();
}

} // namespace

TPictureFormat PictureFormatOf(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("svg"))
        return TPictureFormat::Svg;
    if (suffix == QLatin1String("png"))
        return TPictureFormat::Png;
    return TPictureFormat::None;
}

void SavePicture(TPictureKind kind, const TProject& project, const QString& path) {
    SavePicture(kind, project, path, [] {});
}

void SavePicture(TPictureKind kind, const TProject& project, const QString& path,
                 const std::function<void()>& checkpoint) {
    const TPictureFormat format = PictureFormatOf(path);
    if (format == TPictureFormat::None)
        throw EStorageError(LoadStr(StrPictureExtension));
    const QSizeF size = Draw({nullptr, checkpoint}, kind, project);
    WriteFileAtomically(path, format == TPictureFormat::Svg ? Svg(kind, project, size, checkpoint)
                                                            : Png(kind, project, size, checkpoint));
}
