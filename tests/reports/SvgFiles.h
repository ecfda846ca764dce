#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <gtest/gtest.h>
#include <pugixml.hpp>
#include <vector>

// A text element of a picture's SVG: what it shows, its lines joined, and
// its title; empty for none.
struct TSvgText {
    QString Shown;
    QString Title;
};

// The text elements of the SVG in document order.
inline std::vector<TSvgText> SvgTextElements(const QString& path) {
    pugi::xml_document svg;
    const pugi::xml_parse_result parsed = svg.load_file(QFile::encodeName(path).constData());
    EXPECT_TRUE(parsed) << parsed.description();
    std::vector<TSvgText> texts;
    for (const pugi::xpath_node& found : svg.select_nodes("//text")) {
        TSvgText text;
        for (const pugi::xml_node child : found.node().children()) {
            if (QLatin1String(child.name()) == "title")
                text.Title = QString::fromUtf8(child.text().get());
            else
                text.Shown += QString::fromUtf8(
                    child.type() == pugi::node_pcdata ? child.value() : child.text().get());
        }
        texts.push_back(text);
    }
    return texts;
}

// Pictures of more and of fewer things share their styles: the style sheet
// is the same for each, and no element of any carries a style of its own.
inline void ExpectOneStyleSheet(const std::vector<QByteArray>& svgs) {
    const auto sheet = [](const QByteArray& svg) {
        const qsizetype start = svg.indexOf("<style>");
        return svg.mid(start, svg.indexOf("</style>") - start);
    };
    ASSERT_FALSE(svgs.empty());
    EXPECT_FALSE(sheet(svgs.front()).isEmpty());
    for (const QByteArray& svg : svgs) {
        EXPECT_EQ(sheet(svg), sheet(svgs.front()));
        const QByteArray body = svg.mid(svg.indexOf("</style>"));
        EXPECT_FALSE(body.contains(" style="));
        EXPECT_FALSE(body.contains("font-family"));
        EXPECT_EQ(body.count(" fill="), 1) << "the background's only";
    }
}
