#include "reports/UntPictureSurface.h"

#include "model/UntStrings.h"
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

namespace {

// Dark enough for white text (contrast above 5.9 to 1), and apart in
// lightness as well as in hue: strength, weakness, opportunity, threat.
const std::array<QColor, 4> TypeColours = {QColor(0x00, 0x6B, 0x4F), QColor(0xA1, 0x48, 0x00),
                                           QColor(0x0B, 0x53, 0x94), QColor(0x6A, 0x3D, 0x9A)};
// The coupling kinds in colours that readers who do not tell red from green
// still tell apart (Okabe and Ito); dark text reads on each of them.
const std::array<QColor, 4> KindColours = {QColor(0x00, 0x9E, 0x73), QColor(0x56, 0xB4, 0xE9),
                                           QColor(0xE6, 0x9F, 0x00), QColor(0xD5, 0x5E, 0x00)};

// The most lines a title takes: a longer one is elided.
constexpr int TitleLines = 3;

qreal Luminance(const QColor& colour) {
    const auto linear = [](qreal value) {
        return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
           0.0722 * linear(colour.blueF());
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

TPictureFormat RequiredPictureFormat(const QString& path) {
    const TPictureFormat format = PictureFormatOf(path);
    if (format == TPictureFormat::None)
        throw EStorageError(LoadStr(StrPictureExtension));
    return format;
}

QColor TypeColour(std::int32_t type) {
    return TypeColours[static_cast<std::size_t>(type - stStrength)];
}

QColor KindColour(TCouplingKind kind) {
    return KindColours[static_cast<std::size_t>(kind) - 1];
}

QColor Tint(const QColor& colour, qreal share) {
    const auto mix = [share](int value) {
        return qRound(255 + (value - 255) * share);
    };
    return QColor(mix(colour.red()), mix(colour.green()), mix(colour.blue()));
}

QColor TextOn(const QColor& fill) {
    const qreal luminance = Luminance(fill);
    return (luminance + 0.05) / 0.05 >= 1.05 / (luminance + 0.05) ? Ink : Qt::white;
}

QColor CellFill(TCouplingKind kind, std::int64_t rating) {
    const qreal share =
        0.12 + 0.88 * static_cast<qreal>(std::clamp<std::int64_t>(rating, 1, 9) - 1) / 8;
    return Tint(KindColour(kind), share);
}

QFont PictureFont(int pixels, bool bold, bool italic) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

// ---- Text laid out in lines ----

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

namespace {

const QFont& RatingFont() {
    static const QFont font = PictureFont(12, true);
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

    void Rect(const QRectF& rect, const QColor& fill, const QColor& border, qreal borderWidth,
              qreal radius) override {
        Pens(fill, border, borderWidth);
        if (radius > 0)
            FPainter.drawRoundedRect(rect, radius, radius);
        else
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
            Rect(rect, fill, Qt::white, 1, 0);
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

// Writes SVG of our own: every paint and font is a class of one style sheet,
// written once however many shapes use it, and a name is one text element.
class TSvgSurface : public TSurface {
public:
    void Rect(const QRectF& rect, const QColor& fill, const QColor& border, qreal borderWidth,
              qreal radius) override {
        FBody += QStringLiteral("<rect class=\"%1\" x=\"%2\" y=\"%3\" width=\"%4\" height=\"%5\"")
                     .arg(Class(Paint(fill, border, borderWidth)), Num(rect.x()), Num(rect.y()),
                          Num(rect.width()), Num(rect.height()));
        if (radius > 0)
            FBody += QStringLiteral(" rx=\"%1\"").arg(Num(radius));
        FBody += QStringLiteral("/>\n");
    }
    void Dot(const QRectF& rect, const QColor& fill, const QColor& border,
             qreal borderWidth) override {
        FBody += QStringLiteral("<circle class=\"%1\" cx=\"%2\" cy=\"%3\" r=\"%4\"/>\n")
                     .arg(Class(Paint(fill, border, borderWidth)), Num(rect.center().x()),
                          Num(rect.center().y()), Num(rect.width() / 2));
    }
    // A text of one line is placed itself; lines are its tspans. The title
    // comes first, as viewers and readers of the SVG expect it.
    void Text(const TText& text) override {
        FBody += QStringLiteral("<text class=\"%1\"").arg(Class(Lettering(text.Font, text.Colour)));
        if (text.Upwards)
            FBody += QStringLiteral(" transform=\"translate(%1 %2) rotate(-90)\"")
                         .arg(Num(text.Origin.x()), Num(text.Origin.y()));
        const bool oneLine = text.Lines.size() == 1;
        if (oneLine)
            FBody += QStringLiteral(" x=\"%1\" y=\"%2\"")
                         .arg(Num(text.Lines.front().first.x()), Num(text.Lines.front().first.y()));
        FBody += QLatin1Char('>');
        // A search is typed: the title holds the beginning of a name of any length.
        constexpr qsizetype mostTitle = 10'000;
        if (!text.Whole.isEmpty())
            FBody += QStringLiteral("<title>%1</title>")
                         .arg((text.Whole.size() > mostTitle
                                   ? text.Whole.left(mostTitle) + QStringLiteral("…")
                                   : text.Whole)
                                  .toHtmlEscaped());
        if (oneLine)
            FBody += text.Lines.front().second.toHtmlEscaped();
        else
            for (const auto& [baseline, line] : text.Lines)
                FBody += QStringLiteral("<tspan x=\"%1\" y=\"%2\">%3</tspan>")
                             .arg(Num(baseline.x()), Num(baseline.y()), line.toHtmlEscaped());
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

    QByteArray Document(QSizeF size, const QString& title, const QString& description) const {
        QString svg = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                     "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" "
                                     "width=\"%1\" height=\"%2\" viewBox=\"0 0 %1 %2\">\n"
                                     "<title>%3</title>\n")
                          .arg(Num(size.width()), Num(size.height()), title.toHtmlEscaped());
        if (!description.isEmpty())
            svg += QStringLiteral("<desc>%1</desc>\n").arg(description.toHtmlEscaped());
        svg += QStringLiteral("<style>\n");
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

QByteArray Png(QSizeF size, const QString& title, const QString& description,
               const std::function<void(TSurface&)>& draw,
               const std::function<void()>& checkpoint) {
    // Twice the drawing's own size at least, for crisp text; a huge picture is
    // held at a smaller scale rather than refused.
    constexpr qreal longestSide = 32'000;
    constexpr qreal mostPixels = 100'000'000;
    const qreal scale = std::min({std::max(2.0, 1600 / size.width()), longestSide / size.width(),
                                  longestSide / size.height(),
                                  std::sqrt(mostPixels / (size.width() * size.height()))});
    const QSize pixels = (size * scale).toSize();
    QImage image(pixels, QImage::Format_RGB32);
    if (image.isNull())
        throw EStorageError(
            FillTemplate(LoadStr(StrReportUnwritable),
                         QStringLiteral("%1 × %2").arg(pixels.width()).arg(pixels.height())));
    // Filling the largest takes a second: a band at a time, stopping between.
    constexpr int band = 256;
    for (int top = 0; top < image.height(); top += band) {
        checkpoint();
        for (int y = top; y < std::min(top + band, image.height()); ++y)
            std::fill_n(reinterpret_cast<QRgb*>(image.scanLine(y)), image.width(),
                        qRgb(255, 255, 255));
    }
    image.setText(QStringLiteral("Title"), title);
    if (!description.isEmpty())
        image.setText(QStringLiteral("Description"), description);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(scale, scale);
    TPainterSurface surface(painter);
    draw(surface);
    painter.end();
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return buffer.data();
}

} // namespace

// ---- Drawing, or measuring when the surface is missing ----

void FillRect(TSurface* surface, const QRectF& rect, const QColor& fill, const QColor& border,
              qreal borderWidth, qreal radius) {
    if (surface)
        surface->Rect(rect, fill, border, borderWidth, radius);
}

void DrawLines(TSurface* surface, QPointF topLeft, const TLines& lines, const QString& whole,
               const QFont& font, const QColor& colour, qreal centreWidth) {
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

void DrawWords(TSurface* surface, QPointF topLeft, const QString& words, const QFont& font,
               const QColor& colour, qreal centreWidth) {
    DrawLines(surface, topLeft, TLines{{words}, false}, words, font, colour, centreWidth);
}

qreal DrawTitle(TSurface* surface, QPointF topLeft, const QString& title, qreal width) {
    const QFont font = PictureFont(22, true);
    const TLines lines = LayOut(title, font, width, TitleLines);
    DrawLines(surface, topLeft, lines, title, font, Ink);
    return LinesHeight(lines.Lines.size(), font);
}

void WritePicture(const QString& path, TPictureFormat format, QSizeF size, const QString& title,
                  const QString& description, const std::function<void(TSurface&)>& draw,
                  const std::function<void()>& checkpoint) {
    QByteArray bytes;
    if (format == TPictureFormat::Svg) {
        TSvgSurface surface;
        draw(surface);
        bytes = surface.Document(size, title, description);
    } else {
        bytes = Png(size, title, description, draw, checkpoint);
    }
    // Encoding a large PNG takes seconds, in which nothing can stop it.
    checkpoint();
    WriteFileAtomically(path, bytes);
}
