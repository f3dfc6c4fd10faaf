// The letterhead of the customer letters: the year's lines dressed by their
// font, exact colour name, size and flag pair; anything unknown keeps the
// page design's look; the logo of layout "T" only when its file exists.
#include "quotes/print/QuoteLetterReport.h"

#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kv::quotes;

namespace {

LetterPages onePage()
{
    LetterPages pages;
    pages.fields = {"VIA", "CODIGO"};
    pages.rows.push_back({QStringLiteral("Original"), 7});
    return pages;
}

const kv::report::RenderedItem* findText(const kv::report::Document& document, const QString& text)
{
    for (const auto& band : document.pages.at(0).bands)
        for (const auto& item : band.items)
            if (item.text == text)
                return &item;
    return nullptr;
}

struct LineCase {
    const char* label;
    LetterheadLine line; // text "L"
    int lineNumber;
    QColor colour;
    double points;
    bool bold;
    bool italic;
};

void PrintTo(const LineCase& c, std::ostream* os) { *os << c.label; }

const QColor designRed(255, 0, 0);
const QColor textBlack(0, 0, 0);

const LineCase lineCases[] = {
    {"exactColourAndBothFlags", {"L", "Arial", 12, "Azul", "S", "S"}, 2, QColor(0, 0, 255), 12, true, true},
    {"colourInOtherCaseKeepsTheDesign", {"L", "Arial", 12, "azul", "N", "N"}, 1, designRed, 12, false, false},
    {"colourWithoutAccentKeepsTheDesign", {"L", "Arial", 12, "Verde Limao", "S", "N"}, 1, designRed, 12, true, false},
    {"accentedColour", {"L", "Arial", 9, "Verde Limão", "N", "S"}, 3, QColor(0, 255, 0), 9, false, true},
    {"emptyItalicFlagKeepsTheStyle", {"L", "Arial", 10, "Preto", "S", ""}, 1, textBlack, 10, true, true},
    {"sizeZeroIsTheDefault", {"L", "Arial", 0, "Castanho", "N", "N"}, 4, QColor(128, 64, 0), 10, false, false},
};

class LetterheadLineTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(LetterheadLineTest, dressesItsItem)
{
    const LineCase& c = GetParam();
    Letterhead letterhead;
    for (int i = 0; i < Letterhead::Lines; ++i)
        letterhead.lines[i].text = QStringLiteral("linha %1").arg(i + 1);
    letterhead.lines[c.lineNumber - 1] = c.line;
    const LetterPages pages = onePage();
    const auto document = QuoteLetterReport(pages, letterhead, LetterLayout::Quality, {}).render();
    const kv::report::RenderedItem* item = findText(document, "L");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->color, c.colour);
    EXPECT_DOUBLE_EQ(item->font.pointSizeF(), c.points);
    EXPECT_EQ(item->font.bold(), c.bold);
    EXPECT_EQ(item->font.italic(), c.italic);
}

INSTANTIATE_TEST_SUITE_P(Cases, LetterheadLineTest, ::testing::ValuesIn(lineCases),
                         [](const auto& testCase) { return std::string(testCase.param.label); });

TEST(Letterhead, emptyLineKeepsItsPlaceAndTheLogoNeedsItsFile)
{
    Letterhead letterhead;
    for (int i = 0; i < Letterhead::Lines; ++i)
        letterhead.lines[i].text = i == 1 ? QString() : QStringLiteral("linha %1").arg(i + 1);
    const LetterPages pages = onePage();
    QTemporaryDir dir;
    const QString logo = dir.filePath("logo.Bmp");

    const auto withoutFile = QuoteLetterReport(pages, letterhead, LetterLayout::Carton, logo).render();
    const auto* first = findText(withoutFile, "linha 1");
    const auto* third = findText(withoutFile, "linha 3");
    ASSERT_TRUE(first && third);
    EXPECT_NEAR(third->rect.top() - first->rect.top(), 9.0, 0.01); // line 2 empty, still in its place
    auto images = [](const kv::report::Document& document) {
        int count = 0;
        for (const auto& band : document.pages.at(0).bands)
            for (const auto& item : band.items)
                count += item.kind == kv::report::RenderedItem::Kind::Image;
        return count;
    };
    EXPECT_EQ(images(withoutFile), 0);

    QImage picture(20, 10, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    ASSERT_TRUE(picture.save(logo, "BMP"));
    EXPECT_EQ(images(QuoteLetterReport(pages, letterhead, LetterLayout::Carton, logo).render()), 1);
    EXPECT_EQ(images(QuoteLetterReport(pages, letterhead, LetterLayout::Micro, logo).render()), 0);
}

} // namespace
