// The graph: its scale, labels and mapping as plain functions, and the control through
// dispatch with the pixels it draws: axes and ticks, plots with gaps and crosses, the strip a
// changed point repaints, fonts, pages and persistence.

#include "tests/controls/widgetstestsupport.h"

#include "controls/frame/widgetstypelib.h"
#include "controls/graph/graphscale.h"
#include "platform/ole/fontpage.h"
#include "platform/ole/proppage.h"

#include <gtest/gtest.h>

#include <QtCore/QObject>
#include <QtGui/QPaintEvent>
#include <QtWidgets/QWidget>

#include <climits>
#include <functional>
#include <vector>

namespace {

constexpr const char* c_graphId = "{01540154-0000-0000-0029-000000000004}";
constexpr COLORREF c_black = 0x000000;
constexpr COLORREF c_red = 0x0000FF;
constexpr COLORREF c_green = 0x00FF00;
constexpr COLORREF c_cyan = 0xFFFF00;
// What the hosting dialog shows of a control.
constexpr int c_width = 440;
constexpr int c_height = 190;

// The font object's properties.
constexpr DISPID c_fontName = 0;
constexpr DISPID c_fontSize = 2;
constexpr DISPID c_fontBold = 3;
constexpr DISPID c_fontWeight = 7;

// setDataPoint's one-byte answer; 0xFF when the call failed or answered another type.
BYTE setPoint(CHostedControl& graph, LONG plot, LONG index, LONG value)
{
    COleVariant result;
    const HRESULT hr = zorInvoke(graph.dispatch(), eGRAPH_SETDATAPOINT, DISPATCH_METHOD,
        {COleVariant(plot), COleVariant(index), COleVariant(value)}, &result);
    return hr == S_OK && result.vt == VT_UI1 ? result.bVal : 0xFF;
}

// A graph without frame of `points` points from 12/07/2026 00:00, with plots 0 (red) and 1
// (green) set from the functions (c_lEmptyPoint leaves a point empty).
std::unique_ptr<CHostedControl> makeGraph(LONG points, const std::function<LONG(LONG)>& plot0,
    const std::function<LONG(LONG)>& plot1 = {}, const std::string& state = "")
{
    auto graph
        = std::make_unique<CHostedControl>(c_graphId, "BoxBorder=0\n" + state, c_width, c_height);
    EXPECT_TRUE(graph->ok());
    graph->call(eGRAPH_SETNUMDATAPOINTS, {COleVariant(points)});
    graph->call(eGRAPH_SETTIMEANDINTERVAL, {COleVariant("12/07/2026 00:00"), COleVariant(15L)});
    graph->call(eGRAPH_SETPLOTCOLOR, {COleVariant(0L), colorArg(c_red)});
    graph->call(eGRAPH_SETPLOTCOLOR, {COleVariant(1L), colorArg(c_green)});
    for (LONG i = 0; i < points; ++i) {
        if (plot0 && plot0(i) != c_lEmptyPoint)
            setPoint(*graph, 0, i, plot0(i));
        if (plot1 && plot1(i) != c_lEmptyPoint)
            setPoint(*graph, 1, i, plot1(i));
    }
    return graph;
}

// The control drawn into an image through its draw operation, over `base` when given.
QImage render(CHostedControl& graph, const CRect* invalid = nullptr, QImage base = {})
{
    CRect bounds;
    graph.control()->GetClientRect(&bounds);
    if (base.isNull()) {
        base = QImage(bounds.Width(), bounds.Height(), QImage::Format_RGB32);
        base.fill(Qt::magenta);
    }
    CDC dc(&base);
    graph.control()->OnDraw(&dc, bounds, invalid ? *invalid : bounds);
    return base;
}

int count(const QImage& image, int x0, int y0, int x1, int y1, COLORREF color)
{
    int n = 0;
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x)
            n += pixel(image, x, y) == color;
    }
    return n;
}

int rowWithMost(const QImage& image, COLORREF color)
{
    int best = -1;
    int most = 0;
    for (int y = 0; y < image.height(); ++y) {
        const int n = count(image, 0, y, image.width() - 1, y, color);
        if (n > most) {
            most = n;
            best = y;
        }
    }
    return best;
}

int columnWithMost(const QImage& image, COLORREF color)
{
    int best = -1;
    int most = 0;
    for (int x = 0; x < image.width(); ++x) {
        const int n = count(image, x, 0, x, image.height() - 1, color);
        if (n > most) {
            most = n;
            best = x;
        }
    }
    return best;
}

// Runs of a colour along a row (vertical = false) or a column, as [first, last] pairs.
std::vector<std::pair<int, int>> runs(const QImage& image, int line, bool vertical, COLORREF color)
{
    std::vector<std::pair<int, int>> result;
    const int length = vertical ? image.height() : image.width();
    for (int i = 0; i < length; ++i) {
        const bool on = (vertical ? pixel(image, line, i) : pixel(image, i, line)) == color;
        if (on && (result.empty() || result.back().second != i - 1))
            result.push_back({i, i});
        else if (on)
            result.back().second = i;
    }
    return result;
}

// The rectangles the control's window is painted with.
class CPaintRecorder : public QObject
{
public:
    explicit CPaintRecorder(QWidget* widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            const QRect r = static_cast<QPaintEvent*>(event)->rect();
            rects.push_back(CRect(r.left(), r.top(), r.right() + 1, r.bottom() + 1));
        }
        return false;
    }
    std::vector<CRect> rects;
};

} // namespace

// --- the scale and the value labels ---------------------------------------------------------

struct ScaleCase
{
    const char* name;
    LONG smallest;
    LONG largest;
    bool minVal0;
    LONG yDigitsBefore;
    LONG minimum;
    LONG maximum;
    LONG yDigitsAfter;
    std::vector<std::string> labels; // empty: not checked
};

class GraphScaleTest : public testing::TestWithParam<ScaleCase>
{
};

TEST_P(GraphScaleTest, StepsEndsDigitsAndLabels)
{
    const ScaleCase& c = GetParam();
    LONG digits = c.yDigitsBefore;
    const GraphScale scale = zorGraphScale(c.smallest, c.largest, c.minVal0, &digits);
    EXPECT_EQ(scale.minimum, c.minimum);
    EXPECT_EQ(scale.maximum, c.maximum);
    EXPECT_EQ(digits, c.yDigitsAfter);
    if (c.labels.empty())
        return;
    std::vector<GraphValueLabel> labels;
    zorGraphValueLabels(scale, digits, &labels);
    std::vector<std::string> texts;
    for (const GraphValueLabel& label : labels)
        texts.push_back(label.text);
    EXPECT_EQ(texts, c.labels);
}

INSTANTIATE_TEST_SUITE_P(Graph, GraphScaleTest,
    testing::Values(ScaleCase {"SpanTenStepsByTwenty", 1000, 1010, false, 2, 1000, 1020, 2,
                        {"10.00 ", "10.04 ", "10.08 ", "10.12 ", "10.16 ", "10.20 "}},
        ScaleCase {"ZeroToThreeThousand", 0, 3000, false, 2, 0, 4000, 2,
            {"0.00 ", "8.00 ", "16.00 ", "24.00 ", "32.00 ", "40.00 "}},
        ScaleCase {"MinVal0LowersAPositiveMinimum", 1500, 2500, true, 2, 0, 3000, 2, {}},
        ScaleCase {"WithoutMinVal0", 1500, 2500, false, 2, 1000, 3000, 2, {}},
        ScaleCase {"ShortSpanRaisesTheDigits", 500, 530, false, 0, 500, 550, 1,
            {"5.0 ", "5.10 ", "5.20 ", "5.30 ", "5.40 ", "5.50 "}},
        ScaleCase {"NoDigitsShowsWholeNumbers", 0, 20000, false, 0, 0, 22500, 0,
            {"0 ", "45 ", "90 ", "135 ", "180 ", "225 "}},
        ScaleCase {"NegativeMinimumAlignsDown", -1010, 480, false, 2, -2000, 1000, 2,
            {"-20.00 ", "-14.00 ", "-8.00 ", "-2.00 ", "4.00 ", "10.00 "}},
        ScaleCase {
            "HugeValuesAreLimited", INT_MIN, INT_MAX, false, 2, -1000000000, 1000002500, 2, {}}),
    [](const testing::TestParamInfo<ScaleCase>& info) { return info.param.name; });

// --- the time labels -------------------------------------------------------------------------

struct TimeCase
{
    const char* name;
    const char* start;
    LONG points;
    LONG spacing; // logical units between labels
    std::vector<std::string> texts;
};

class GraphTimeLabelTest : public testing::TestWithParam<TimeCase>
{
};

TEST_P(GraphTimeLabelTest, PlacesAndTexts)
{
    const TimeCase& c = GetParam();
    COleDateTime start;
    start.ParseDateTime(c.start);
    std::vector<GraphTimeLabel> labels;
    zorGraphTimeLabels(start, c.points * 100, c.points / c_lPointsPerDay, &labels);
    std::vector<std::string> texts;
    for (std::size_t i = 0; i < labels.size(); ++i) {
        EXPECT_EQ(labels[i].x, static_cast<LONG>(i) * c.spacing);
        texts.push_back(labels[i].text);
    }
    EXPECT_EQ(texts, c.texts);
}

INSTANTIATE_TEST_SUITE_P(Graph, GraphTimeLabelTest,
    testing::Values(TimeCase {"OneDaySixEveryFourHours", "12/07/2026 00:00", 96, 1600,
                        {"12/07/26\r00:00", "04:00", "08:00", "12:00", "16:00", "20:00"}},
        TimeCase {"SevenDaysFourteenEveryTwelveHours", "12/07/2026 00:00", 672, 4800,
            {"12/07/26\r00:00", "12:00", "12/08/26\r00:00", "12:00", "12/09/26\r00:00", "12:00",
                "12/10/26\r00:00", "12:00", "12/11/26\r00:00", "12:00", "12/12/26\r00:00", "12:00",
                "12/13/26\r00:00", "12:00"}},
        TimeCase {"EveningStartDatesEachMidnight", "12/07/2026 20:00", 192, 1600,
            {"12/07/26\r20:00", "12/08/26\r00:00", "04:00", "08:00", "12:00", "16:00", "20:00",
                "12/09/26\r00:00", "04:00", "08:00", "12:00", "16:00"}},
        TimeCase {"LessThanADayHasNone", "12/07/2026 00:00", 50, 0, {}},
        TimeCase {"InvalidStartHasEmptyTexts", "not a date", 96, 1600, {"", "", "", "", "", ""}}),
    [](const testing::TestParamInfo<TimeCase>& info) { return info.param.name; });

// --- points through dispatch -------------------------------------------------------------------

struct PointStep
{
    LONG points; // > 0 or refused counts: setNumDataPoints; INT_MIN: setDataPoint
    LONG plot;
    LONG index;
    LONG value;
    BYTE expected;
};

PointStep pointCount(LONG points)
{
    return {points, 0, 0, 0, 0};
}

PointStep point(LONG plot, LONG index, LONG value, BYTE expected)
{
    return {INT_MIN, plot, index, value, expected};
}

struct PointCase
{
    const char* name;
    std::vector<PointStep> steps;
};

class GraphPointTest : public testing::TestWithParam<PointCase>
{
};

TEST_P(GraphPointTest, SetDataPointAnswers)
{
    CHostedControl graph(c_graphId, "", 200, 100);
    ASSERT_TRUE(graph.ok());
    for (const PointStep& step : GetParam().steps) {
        if (step.points != INT_MIN) {
            ASSERT_EQ(graph.call(eGRAPH_SETNUMDATAPOINTS, {COleVariant(step.points)}), S_OK);
            continue;
        }
        SCOPED_TRACE(testing::Message() << "plot " << step.plot << " index " << step.index);
        EXPECT_EQ(setPoint(graph, step.plot, step.index, step.value), step.expected);
    }
}

INSTANTIATE_TEST_SUITE_P(Graph, GraphPointTest,
    testing::Values(PointCase {"NoArraysBeforeAPointCount", {point(0, 0, 100, 0)}},
        PointCase {"IndexAtTheCountIsRefused",
            {pointCount(96), point(0, 95, 100, 1), point(0, 96, 100, 0), point(0, -1, 100, 0)}},
        PointCase {"SameValueTwiceIsTakenOnce",
            {pointCount(96), point(0, 5, 1234, 1), point(0, 5, 1234, 0), point(0, 5, 1235, 1)}},
        PointCase {"SameDayCountKeepsPointsAndValues",
            {pointCount(96), point(0, 10, 7, 1), pointCount(150), point(0, 95, 1, 1),
                point(0, 96, 1, 0), point(0, 10, 7, 0)}},
        PointCase {"NewDayCountEmptiesTheArrays",
            {pointCount(96), point(0, 10, 7, 1), pointCount(192), point(0, 191, 1, 1),
                point(0, 10, 7, 1)}},
        PointCase {"PlotOutsideZeroToFourIsRefused",
            {pointCount(96), point(5, 0, 1, 0), point(-1, 0, 1, 0), point(4, 0, 1, 1)}},
        PointCase {"NonPositiveAndAbsurdCountsAreRefused",
            {pointCount(0), pointCount(-96), point(0, 0, 1, 0), pointCount(96), pointCount(INT_MAX),
                point(0, 95, 1, 1), point(0, 96, 1, 0)}}),
    [](const testing::TestParamInfo<PointCase>& info) { return info.param.name; });

// --- drawing -------------------------------------------------------------------------------------

struct AxisCase
{
    const char* name;
    bool minVal0;
    LONG low; // plot 0 (red)
    LONG high; // plot 1 (green)
    bool probeHigh;
    int numerator; // where the probed line lies between the lowest and the highest tick
    int denominator;
    LONG yDigits; // read back after the values, starting from 0
};

class GraphAxisTest : public testing::TestWithParam<AxisCase>
{
};

TEST_P(GraphAxisTest, LinesLieOnTheScale)
{
    const AxisCase& c = GetParam();
    auto graph = makeGraph(
        96, [&](LONG) { return c.low; }, [&](LONG) { return c.high; },
        std::string("YDigits=0\nMinVal0=") + (c.minVal0 ? "1\n" : "0\n"));
    const QImage image = render(*graph);
    const int axis = columnWithMost(image, c_black);
    const auto ticks = runs(image, axis - 2, true, c_black);
    ASSERT_EQ(ticks.size(), 6u) << "value labels every fifth of the axis";
    const int top = ticks.front().first;
    const int bottom = ticks.back().first;
    const int line = rowWithMost(image, c.probeHigh ? c_green : c_red);
    const int expected = bottom - (bottom - top) * c.numerator / c.denominator;
    EXPECT_NEAR(line, expected, 1);
    // A short span (the first value alone spans nothing) raises the digits, but that does not
    // modify the control.
    EXPECT_EQ(graph->getLong(eGRAPH_YDIGITS), c.yDigits);
    EXPECT_FALSE(graph->control()->IsModified());
}

INSTANTIATE_TEST_SUITE_P(Graph, GraphAxisTest,
    testing::Values(AxisCase {"TenApartSpansTwenty", false, 1000, 1010, true, 1, 2, 2},
        AxisCase {"ZeroToThreeThousandEndsAtFourThousand", false, 0, 3000, true, 3, 4, 2},
        AxisCase {"MinVal0StartsTheAxisAtZero", true, 1500, 2500, false, 1, 2, 0},
        AxisCase {"WithoutMinVal0TheAxisStartsBelowTheData", false, 1500, 2500, false, 1, 4, 2},
        AxisCase {"NegativeValuesAreDrawnWhole", false, -1500, 1500, false, 1, 8, 2}),
    [](const testing::TestParamInfo<AxisCase>& info) { return info.param.name; });

struct TickCase
{
    const char* name;
    LONG points;
    std::size_t ticks;
};

class GraphTimeAxisTest : public testing::TestWithParam<TickCase>
{
};

TEST_P(GraphTimeAxisTest, OneTickPerLabel)
{
    const TickCase& c = GetParam();
    auto graph = makeGraph(c.points, [](LONG i) { return 1010 + i % 7; });
    // Without a valid start time the labels have no texts: below the axis only the ticks.
    ASSERT_EQ(graph->call(eGRAPH_SETTIMEANDINTERVAL, {COleVariant("not a date"), COleVariant(15L)}),
        S_OK);
    const QImage image = render(*graph);
    const int axis = rowWithMost(image, c_black);
    const int valueAxis = columnWithMost(image, c_black);
    // The ticks hang 3 pixels below the axis, right of the value labels.
    const QImage below = image.copy(valueAxis, axis + 2, c_width - valueAxis, 1);
    EXPECT_EQ(runs(below, 0, false, c_black).size(), c.ticks);
    EXPECT_GT(count(image, 0, 0, c_width - 1, axis, c_red), c.points / 2) << "the plot is drawn";
}

INSTANTIATE_TEST_SUITE_P(Graph, GraphTimeAxisTest,
    testing::Values(TickCase {"OneDay", 96, 6}, TickCase {"SevenDays", 672, 14},
        TickCase {"LessThanADay", 50, 0}),
    [](const testing::TestParamInfo<TickCase>& info) { return info.param.name; });

TEST(GraphPlot, GapsBreakTheLineAndTheFirstPointAfterOneIsCrossed)
{
    // 0-9, a gap, 15-24, one empty point, 26 alone.
    auto graph = makeGraph(96,
        [](LONG i) { return (i <= 9 || (i >= 15 && i <= 24) || i == 26) ? 1010 : c_lEmptyPoint; });
    const QImage image = render(*graph);
    const int line = rowWithMost(image, c_red);
    const auto pieces = runs(image, line, false, c_red);
    ASSERT_EQ(pieces.size(), 3u);
    const auto crossed = [&](int x) {
        return pixel(image, x, line - 2) == c_red && pixel(image, x, line - 1) == c_red
            && pixel(image, x, line + 1) == c_red;
    };
    EXPECT_FALSE(crossed(pieces[0].first)) << "point 0 is never crossed";
    EXPECT_FALSE(crossed(pieces[0].first + 2));
    // The crosses reach 2 pixels left of their point.
    EXPECT_TRUE(crossed(pieces[1].first + 2));
    EXPECT_TRUE(crossed(pieces[2].first + 2));
    EXPECT_EQ(pieces[2].second - pieces[2].first, 3) << "a point alone shows only its cross";
}

TEST(GraphPlot, ClearedShowGridHidesTheGrid)
{
    auto graph = makeGraph(96, [](LONG i) { return 1000 + i; });
    EXPECT_GT(count(render(*graph), 0, 0, c_width - 1, c_height - 1, c_cyan), 100);
    ASSERT_EQ(graph->put(eGRAPH_SHOWGRID, COleVariant(0L)), S_OK);
    EXPECT_EQ(count(render(*graph), 0, 0, c_width - 1, c_height - 1, c_cyan), 0);
}

struct StripCase
{
    const char* name;
    LONG index;
    LONG value;
    bool whole;
};

class GraphStripTest : public testing::TestWithParam<StripCase>
{
};

TEST_P(GraphStripTest, OnlyThePointsStripIsRepainted)
{
    const StripCase& c = GetParam();
    auto graph = makeGraph(
        96, [](LONG i) { return i % 10 == 0 ? 1000 : 2000; },
        [](LONG i) { return 1200 + (i % 3) * 100; });
    const QImage before = render(*graph);
    graph->grab();
    CPaintRecorder recorder(graph->control()->widget());
    ASSERT_EQ(setPoint(*graph, 0, c.index, c.value), 1);
    pumpEvents();
    ASSERT_EQ(recorder.rects.size(), 1u);
    const CRect strip = recorder.rects.front();
    const CRect all(0, 0, c_width, c_height);
    if (c.whole) {
        EXPECT_EQ(strip, all);
        return;
    }
    EXPECT_LT(strip.Width(), c_width / 10);
    // Everything the change touched lies in the strip, and the strip drawn alone over the old
    // picture gives the new picture.
    const QImage after = render(*graph);
    for (int y = 0; y < c_height; ++y) {
        for (int x = 0; x < c_width; ++x) {
            if (!strip.PtInRect(CPoint(x, y))) {
                ASSERT_EQ(pixel(before, x, y), pixel(after, x, y)) << x << "," << y;
            }
        }
    }
    EXPECT_NE(before, after);
    EXPECT_EQ(render(*graph, &strip, before), after);
}

INSTANTIATE_TEST_SUITE_P(Graph, GraphStripTest,
    testing::Values(StripCase {"InsideTheScale", 40, 1500, false},
        StripCase {"FirstPoint", 0, 1500, false}, StripCase {"LastPoint", 95, 1700, false},
        StripCase {"EmptyingAPointCrossesTheNext", 41, c_lEmptyPoint, false},
        StripCase {"NewMaximumRepaintsAll", 40, 9000, true}),
    [](const testing::TestParamInfo<StripCase>& info) { return info.param.name; });

TEST(GraphTime, TextAndDateFormsDrawTheSameLabels)
{
    auto text = makeGraph(96, [](LONG i) { return 1000 + i; });
    auto date = makeGraph(96, [](LONG i) { return 1000 + i; });
    ASSERT_EQ(
        date->call(eGRAPH_SETTIMEANDINTERVAL, {COleVariant("01/01/2000 05:00"), COleVariant(15L)}),
        S_OK);
    EXPECT_NE(render(*text), render(*date));
    COleVariant start(COleDateTime(2026, 12, 7, 0, 0, 0));
    ASSERT_EQ(date->call(eGRAPH_SETTIMEANDINTERVAL2, {start, COleVariant(15L)}), S_OK);
    EXPECT_EQ(render(*text), render(*date));
    // An unreadable text shows no label texts (fewer black pixels below the axis).
    const QImage dated = render(*text);
    ASSERT_EQ(
        text->call(eGRAPH_SETTIMEANDINTERVAL, {COleVariant("13/45/2026"), COleVariant(15L)}), S_OK);
    const QImage blank = render(*text);
    const int axis = rowWithMost(dated, c_black);
    EXPECT_GT(count(dated, 0, axis + 1, c_width - 1, c_height - 1, c_black),
        count(blank, 0, axis + 1, c_width - 1, c_height - 1, c_black) + 50);
}

// --- fonts -----------------------------------------------------------------------------------

struct FontCase
{
    const char* name;
    DISPID font; // 0: assign a new font object to TextFont
    DISPID member; // of the font object
    COleVariant value;
    DISPID property;
    COleVariant expected;
};

class GraphFontTest : public testing::TestWithParam<FontCase>
{
};

TEST_P(GraphFontTest, FontObjectChangesCopyBack)
{
    const FontCase& c = GetParam();
    CHostedControl graph(c_graphId, "", 200, 100);
    ASSERT_TRUE(graph.ok());
    graph.grab();
    graph.control()->SetModifiedFlag(FALSE);
    const int paints = graph.control()->paintCount();
    if (c.font == 0) {
        FONTDESC big;
        big.cySize = 200000;
        CFontHolder holder(big);
        IDispatch* other = holder.createFontDispatch();
        ASSERT_EQ(graph.put(eGRAPH_TEXTFONT, COleVariant::makeDispatch(other)), S_OK);
        other->Release();
    } else {
        const COleVariant font = graph.get(c.font);
        ASSERT_EQ(font.vt, VT_DISPATCH);
        ASSERT_EQ(zorPutProperty(font.pdispVal, c.member, c.value), S_OK);
    }
    pumpEvents();
    EXPECT_EQ(graph.get(c.property), c.expected);
    EXPECT_TRUE(graph.control()->IsModified());
    EXPECT_GT(graph.control()->paintCount(), paints);
}

INSTANTIATE_TEST_SUITE_P(Graph, GraphFontTest,
    testing::Values(FontCase {"SizeBecomesTheCharacterHeight", eGRAPH_TEXTFONT, c_fontSize,
                        COleVariant(COleCurrency(12, 0)), eGRAPH_TEXTFONTSIZE, COleVariant(-16L)},
        FontCase {"BoldIsWeightSevenHundred", eGRAPH_TITLEFONT, c_fontWeight,
            COleVariant(short(700)), eGRAPH_TITLEFONTBOLD, COleVariant(1L)},
        FontCase {"LongFaceIsCut", eGRAPH_TITLEFONT, c_fontName,
            COleVariant("A face name of forty characters, exactly"), eGRAPH_TITLEFONTFACE,
            COleVariant("A face name of forty characters")},
        FontCase {"AssignedObjectIsNotAdopted", 0, 0, {}, eGRAPH_TEXTFONTSIZE, COleVariant(8L)}),
    [](const testing::TestParamInfo<FontCase>& info) { return info.param.name; });

// --- pages and persistence ---------------------------------------------------------------------

TEST(GraphPages, GeneralColorsFontAndAbout)
{
    CHostedControl graph(c_graphId, "GraphCaption=Latency\nShowCaption=1\nBoxBorder=0\n", 300, 150);
    ASSERT_TRUE(graph.ok());
    CPropertyFrame frame("Graph", {graph.dispatch()}, graph.control()->GetPropPageIDs());
    ASSERT_TRUE(frame.createFrame(nullptr));
    ASSERT_EQ(frame.pageCount(), 4);
    EXPECT_EQ(frame.pageCaption(0), "General");
    EXPECT_EQ(frame.pageCaption(1), "Colors");
    EXPECT_EQ(frame.pageCaption(2), "Font");
    EXPECT_EQ(frame.pageCaption(3), "General");
    COlePropertyPage* general = frame.page(0);
    ASSERT_NE(general, nullptr);
    EXPECT_EQ(general->GetDlgItemText(3086), "Latency");
    EXPECT_EQ(general->IsDlgButtonChecked(3087), 1u);
    EXPECT_EQ(general->IsDlgButtonChecked(3088), 0u);
    // Typing a caption offers Apply; Apply writes it.
    EXPECT_FALSE(frame.applyEnabled());
    general->SetDlgItemText(3086, "Hosts");
    EXPECT_TRUE(frame.applyEnabled());
    ASSERT_TRUE(frame.apply());
    EXPECT_EQ(graph.getText(eGRAPH_GRAPHCAPTION), "Hosts");
    frame.setActivePage(2);
    auto* font = dynamic_cast<CFontPage*>(frame.page(2));
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->fontProperties(), (std::vector<std::string> {"TextFont", "TitleFont"}));
    frame.setActivePage(3);
    EXPECT_EQ(frame.page(3)->GetDlgItemText(3090).rfind("Version ", 0), 0u);
    frame.DestroyWindow();
}

class GraphPersistenceTest : public testing::TestWithParam<bool>
{
};

TEST_P(GraphPersistenceTest, RoundTripInOrder)
{
    const bool bag = GetParam();
    const std::vector<std::pair<DISPID, COleVariant>> values
        = {{eGRAPH_SHOWCAPTION, COleVariant(BYTE(1))}, {eGRAPH_SHOWGRID, COleVariant(0L)},
            {eGRAPH_GRAPHCAPTION, COleVariant("Round trip")},
            {eGRAPH_BACKGROUNDCOLOR, colorArg(0x0F000000)}, {eGRAPH_SCALECOLOR, colorArg(0x112233)},
            {eGRAPH_GRAPHCOLOR, colorArg(0x445566)}, {eGRAPH_GRIDCOLOR, colorArg(0x778899)},
            {eGRAPH_BOXBORDER, COleVariant(0L)}, {eGRAPH_TEXTFONTFACE, COleVariant("Courier New")},
            {eGRAPH_TEXTFONTSIZE, COleVariant(12L)}, {eGRAPH_TEXTFONTBOLD, COleVariant(1L)},
            {eGRAPH_TITLEFONTFACE, COleVariant("Arial")}, {eGRAPH_TITLEFONTSIZE, COleVariant(-14L)},
            {eGRAPH_TITLEFONTBOLD, COleVariant(1L)}, {eGRAPH_MINVAL0, COleVariant(1L)},
            {eGRAPH_YDIGITS, COleVariant(3L)}};
    std::string saved;
    {
        CHostedControl graph(c_graphId, "", 200, 100);
        ASSERT_TRUE(graph.ok());
        // The font object's own size travels too (its copy-back is overwritten below).
        const COleVariant font = graph.get(eGRAPH_TITLEFONT);
        ASSERT_EQ(
            zorPutProperty(font.pdispVal, c_fontSize, COleVariant(COleCurrency(20, 0))), S_OK);
        for (const auto& [dispid, value] : values)
            ASSERT_EQ(graph.put(dispid, value), S_OK) << dispid;
        ASSERT_EQ(
            bag ? graph.control()->saveToBag(&saved) : graph.control()->saveToStream(&saved), S_OK);
    }
    CHostedControl other(c_graphId, "", 200, 100);
    ASSERT_TRUE(other.ok());
    ASSERT_EQ(
        bag ? other.control()->loadFromBag(saved) : other.control()->loadFromStream(saved), S_OK);
    for (const auto& [dispid, value] : values)
        EXPECT_EQ(other.get(dispid), value) << dispid;
    COleVariant size;
    ASSERT_EQ(zorGetProperty(other.get(eGRAPH_TITLEFONT).pdispVal, c_fontSize, &size), S_OK);
    EXPECT_EQ(size, COleVariant(COleCurrency(20, 0)));
    // Without a stored font object its default comes from the size and bold just read.
    CHostedControl fresh(c_graphId, "TextFontSize=-12\nTextFontBold=1\n", 200, 100);
    ASSERT_TRUE(fresh.ok());
    const COleVariant textFont = fresh.get(eGRAPH_TEXTFONT);
    ASSERT_EQ(zorGetProperty(textFont.pdispVal, c_fontSize, &size), S_OK);
    EXPECT_EQ(size, COleVariant(COleCurrency(12, 0)));
    COleVariant bold;
    ASSERT_EQ(zorGetProperty(textFont.pdispVal, c_fontBold, &bold), S_OK);
    EXPECT_EQ(bold, COleVariant::makeBool(true));
    if (!bag)
        return;
    std::vector<std::string> names;
    for (std::size_t at = 0; at < saved.size();) {
        const std::size_t end = saved.find('\n', at);
        const std::string name = saved.substr(at, saved.find('=', at) - at);
        if (name.front() != '_')
            names.push_back(name);
        at = end == std::string::npos ? saved.size() : end + 1;
    }
    EXPECT_EQ(names,
        (std::vector<std::string> {"ShowCaption", "ShowGrid", "GraphCaption", "BackgroundColor",
            "ScaleColor", "GraphColor", "GridColor", "BoxBorder", "TextFontFace", "TextFontSize",
            "TextFontBold", "TitleFontFace", "TitleFontSize", "TitleFontBold", "MinVal0", "YDigits",
            "TextFont", "TitleFont"}));
}

INSTANTIATE_TEST_SUITE_P(
    Graph, GraphPersistenceTest, testing::Bool(), [](const testing::TestParamInfo<bool>& info) {
        return std::string(info.param ? "Bag" : "Stream");
    });
