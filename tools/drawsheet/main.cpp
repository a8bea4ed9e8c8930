// drawsheet: renders a sheet of the suite's drawings to a PNG file, so that a person can check
// the device context's pixels by eye: bevelled boxes raised and sunken at depths 0 to 3, lines
// in eight directions, Rectangle next to FillRect, exclusive-or once and twice, an anisotropic
// mapping with the y axis up, a polygon clip region, centred multi-line text with its measured
// box, a transparent bitmap over a pattern, a horizontal gradient and the 25 system colours.
//
//     QT_QPA_PLATFORM=offscreen drawsheet out.png
//
// The small drawings are magnified four times with a grid between the pixels. Every drawing is
// made with the device context; only the sheet's captions and the magnification use QPainter.

#include "framework/drawing/drawbox.h"
#include "framework/drawing/syscolor.h"
#include "framework/drawing/transparentbitmap.h"

#include "platform/gdi/dc.h"
#include "platform/gdi/gdiobjects.h"
#include "platform/gdi/syscolor.h"
#include "platform/ui/programline.h"

#include <QtGui/QGuiApplication>
#include <QtGui/QImage>
#include <QtGui/QPainter>

#include <cstdio>
#include <memory>
#include <string>

namespace {

// The light built into this program (a disc on magenta, the transparent colour).
constexpr UINT lightBitmapId = 1;
constexpr COLORREF transparentColor = RGB(255, 0, 255);

constexpr int magnification = 4;
constexpr int margin = 16;
constexpr int captionHeight = 18;
constexpr QRgb paper = 0xFFF4F4F0;

QImage smallImage(int width, int height, QRgb background = 0xFFFFFFFF)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(background);
    return image;
}

// The sheet: drawings laid out left to right in rows, each under its caption.
class CSheet
{
public:
    explicit CSheet(QImage* sheet) : m_sheet(sheet), m_painter(sheet)
    {
        m_painter.setPen(Qt::black);
    }

    // Places a drawing, magnified with a pixel grid when magnify is above 1.
    void place(const QString& caption, const QImage& drawing, int magnify = magnification)
    {
        const QSize size = drawing.size() * magnify;
        const int width
            = std::max(size.width(), m_painter.fontMetrics().horizontalAdvance(caption));
        if (m_x + width > m_sheet->width() - margin)
            newRow();
        m_painter.drawText(QPoint(m_x, m_y + captionHeight - 5), caption);
        const QPoint at(m_x, m_y + captionHeight);
        m_painter.drawImage(
            at, drawing.scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation));
        if (magnify > 2) {
            m_painter.setPen(QColor(0, 0, 0, 40));
            for (int x = 0; x <= drawing.width(); ++x)
                m_painter.drawLine(
                    at.x() + x * magnify, at.y(), at.x() + x * magnify, at.y() + size.height());
            for (int y = 0; y <= drawing.height(); ++y)
                m_painter.drawLine(
                    at.x(), at.y() + y * magnify, at.x() + size.width(), at.y() + y * magnify);
            m_painter.setPen(Qt::black);
        }
        m_x += width + margin;
        m_rowHeight = std::max(m_rowHeight, captionHeight + size.height());
    }

    void newRow()
    {
        if (m_x == margin)
            return;
        m_x = margin;
        m_y += m_rowHeight + margin;
        m_rowHeight = 0;
    }

    int bottom() const { return m_y + m_rowHeight + margin; }

private:
    QImage* m_sheet {nullptr};
    QPainter m_painter;
    int m_x {margin};
    int m_y {margin};
    int m_rowHeight {0};
};

QImage boxes(bool raised)
{
    QImage image = smallImage(4 * 20 + 2, 22);
    CDC dc(&image);
    for (int depth = 0; depth <= 3; ++depth)
        drawBox(&dc, CRect(2 + depth * 20, 2, 2 + depth * 20 + 18, 20), depth, raised,
            RGB(255, 255, 200));
    return image;
}

// From the centre to end points in all eight octants, each with an exact tie (a slope of 1/2
// or 2) and a slope without one.
QImage lines()
{
    QImage image = smallImage(41, 41);
    CDC dc(&image);
    CPen tiePen(PS_SOLID, 0, RGB(0, 0, 200));
    CPen otherPen(PS_SOLID, 0, RGB(200, 0, 0));
    const POINT ties[8]
        = {{20, 10}, {10, 20}, {-10, 20}, {-20, 10}, {-20, -10}, {-10, -20}, {10, -20}, {20, -10}};
    const POINT others[8]
        = {{19, 5}, {5, 19}, {-5, 19}, {-19, 5}, {-19, -5}, {-5, -19}, {5, -19}, {19, -5}};
    for (int i = 0; i < 8; ++i) {
        dc.SelectObject(&tiePen);
        dc.MoveTo(20, 20);
        dc.LineTo(20 + ties[i].x, 20 + ties[i].y);
        dc.SelectObject(&otherPen);
        dc.MoveTo(20, 20);
        dc.LineTo(20 + others[i].x, 20 + others[i].y);
    }
    // The start pixel, drawn last in black: every line includes it and excludes its end.
    dc.SetPixel(20, 20, RGB(0, 0, 0));
    return image;
}

// Rectangle with a pen, Rectangle with the null pen and FillRect on the same coordinates
// (2, 2)-(12, 10): framed on [2, 12) x [2, 10), filled one pixel smaller, filled [2, 12).
QImage rectangles()
{
    QImage image = smallImage(3 * 14 + 2, 12, 0xFFD0E0FF);
    CDC dc(&image);
    CPen pen(PS_SOLID, 0, RGB(0, 0, 0));
    CBrush brush(RGB(255, 160, 0));
    dc.SelectObject(&brush);
    dc.SelectObject(&pen);
    dc.Rectangle(2, 2, 12, 10);
    dc.SelectStockObject(NULL_PEN);
    dc.Rectangle(16, 2, 26, 10);
    const CRect fill(30, 2, 40, 10);
    dc.FillRect(&fill, &brush);
    return image;
}

// A cross drawn with the exclusive-or mix over stripes: once (visible) and twice (gone).
QImage exclusiveOr(int times)
{
    QImage image = smallImage(24, 24);
    CDC dc(&image);
    for (int y = 0; y < 24; y += 4) {
        const CRect stripe(0, y, 24, y + 2);
        dc.FillSolidRect(&stripe, RGB(0, 120, 200));
    }
    CPen pen(PS_SOLID, 0, RGB(255, 255, 0));
    CBrush brush(RGB(255, 255, 0));
    dc.SelectObject(&pen);
    dc.SelectObject(&brush);
    dc.SetROP2(R2_XORPEN);
    for (int i = 0; i < times; ++i) {
        dc.MoveTo(2, 2);
        dc.LineTo(22, 22);
        dc.MoveTo(21, 2);
        dc.LineTo(1, 22);
        dc.Rectangle(8, 8, 16, 16);
    }
    return image;
}

// Logical units 0..100 on both axes with y growing upwards onto 41 x 41 pixels: the axes, a
// rising diagonal and a filled triangle pointing up.
QImage yUpMapping()
{
    QImage image = smallImage(41, 41);
    CDC dc(&image);
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetWindowOrg(0, 0);
    dc.SetWindowExt(100, 100);
    dc.SetViewportOrg(0, 40);
    dc.SetViewportExt(40, -40);
    CPen axisPen(PS_SOLID, 0, RGB(0, 0, 0));
    CPen risePen(PS_SOLID, 0, RGB(200, 0, 0));
    CBrush triangleBrush(RGB(0, 170, 0));
    dc.SelectObject(&axisPen);
    dc.MoveTo(0, 0);
    dc.LineTo(100, 0);
    dc.MoveTo(0, 0);
    dc.LineTo(0, 100);
    dc.SelectObject(&triangleBrush);
    const POINT triangle[3] = {{50, 90}, {30, 50}, {70, 50}};
    dc.Polygon(triangle, 3);
    dc.SelectObject(&risePen);
    dc.MoveTo(10, 10);
    dc.LineTo(90, 40);
    return image;
}

// A five-pointed star as the clip region (alternate fill: the centre pentagon is outside),
// then a pale fill, stripes and lines drawn over the whole image.
QImage polygonClip()
{
    QImage image = smallImage(41, 41);
    CDC dc(&image);
    const POINT star[5] = {{20, 1}, {32, 38}, {1, 14}, {39, 14}, {8, 38}};
    CRgn region;
    region.CreatePolygonRgn(star, 5, ALTERNATE);
    dc.SelectClipRgn(&region);
    const CRect all(0, 0, 41, 41);
    dc.FillSolidRect(&all, RGB(255, 240, 160));
    for (int x = 0; x < 41; x += 3) {
        const CRect stripe(x, 0, x + 2, 41);
        dc.FillSolidRect(&stripe, RGB(200, 60, 60));
    }
    CPen pen(PS_SOLID, 0, RGB(0, 0, 160));
    dc.SelectObject(&pen);
    for (int y = 0; y < 41; y += 4) {
        dc.MoveTo(0, y);
        dc.LineTo(41, y + 10);
    }
    dc.SelectClipRgn(nullptr);
    return image;
}

// Three lines centred in the dialog font, the box DT_CALCRECT measured outlined around them.
QImage centredText()
{
    QImage image = smallImage(180, 64);
    CDC dc(&image);
    CFont font;
    font.CreatePointFont(80, "MS Sans Serif", &dc);
    dc.SelectObject(&font);
    const std::string text = "Host unavailable\nwas down for 00:05:10\nOK";
    CRect box(0, 0, 160, 0);
    dc.DrawText(text, &box, DT_CENTER | DT_CALCRECT | DT_NOPREFIX);
    box.OffsetRect((180 - box.Width()) / 2, (64 - box.Height()) / 2);
    CPen pen(PS_SOLID, 0, RGB(255, 0, 0));
    dc.SelectObject(&pen);
    dc.SelectStockObject(NULL_BRUSH);
    CRect frame = box;
    frame.InflateRect(1, 1);
    dc.Rectangle(&frame);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(RGB(0, 0, 0));
    dc.DrawText(text, &box, DT_CENTER | DT_NOPREFIX);
    return image;
}

// The light copied as it is and drawn transparent over a chequer board.
QImage transparentBitmap(CTransparentBitmap& light)
{
    QImage image = smallImage(2 * 20 + 4, 20);
    CDC dc(&image);
    for (int y = 0; y < 20; y += 2) {
        for (int x = 0; x < image.width(); x += 2) {
            const CRect square(x, y, x + 2, y + 2);
            dc.FillSolidRect(&square, ((x + y) / 2) % 2 ? RGB(80, 80, 200) : RGB(230, 230, 120));
        }
    }
    light.draw(&dc, 2, 2);
    light.drawTransparent(&dc, 24, 2, transparentColor);
    return image;
}

// Red to blue from left to right.
QImage gradient()
{
    QImage image = smallImage(128, 16);
    CDC dc(&image);
    TRIVERTEX vertices[2];
    vertices[0].x = 0;
    vertices[0].y = 0;
    vertices[0].Red = 0xFF00;
    vertices[1].x = 128;
    vertices[1].y = 16;
    vertices[1].Blue = 0xFF00;
    GRADIENT_RECT rect {0, 1};
    dc.GradientFill(vertices, 2, &rect, 1, GRADIENT_FILL_RECT_H);
    return image;
}

// Every row of the colour table: a swatch of its current colour, its short name and number.
QImage systemColors()
{
    constexpr int rowHeight = 16;
    QImage image = smallImage(2 * 230, (CSysColor::c_nColors + 1) / 2 * rowHeight + 4);
    CDC dc(&image);
    CFont font;
    font.CreatePointFont(80, "MS Sans Serif", &dc);
    dc.SelectObject(&font);
    dc.SetBkMode(TRANSPARENT);
    CPen pen(PS_SOLID, 0, RGB(0, 0, 0));
    dc.SelectObject(&pen);
    for (int row = 0; row < CSysColor::c_nColors; ++row) {
        const int x = row % 2 * 230 + 2;
        const int y = row / 2 * rowHeight + 2;
        CBrush swatch(CSysColor::getRGB(row));
        dc.SelectObject(&swatch);
        dc.Rectangle(x, y, x + 28, y + rowHeight - 2);
        dc.SelectStockObject(NULL_BRUSH);
        const std::string label = std::to_string(row) + " " + CSysColor::getShortName(row) + " "
            + CSysColor::formatHex(CSysColor::getRGB(row));
        dc.TextOut(x + 32, y + 1, label);
    }
    return image;
}

} // namespace

int main(int argc, char** argv)
{
    CProgramLine line("drawsheet", {"[QT-OPTION]... FILE"},
        "Renders a sheet of the suite's drawings (boxes, lines, raster operations, mappings, "
        "clipping, text, bitmaps, gradients, system colours) to the PNG file FILE.");
    line.setWindowProgram(true);
    line.setOperands(1, 1, "the output FILE");
    line.setNotes(
        "Exit status: 0 when the sheet was written, 1 when it could not be, 2 for a "
        "wrong command line. Without a display: QT_QPA_PLATFORM=offscreen drawsheet FILE");
    std::unique_ptr<QGuiApplication> app;
    if (const std::optional<int> status = line.startWindowProgram(
            argc, argv, [&] { app = std::make_unique<QGuiApplication>(argc, argv); }))
        return *status;
    // The one operand is the last word Qt left (a "--" may stand before it).
    const char* const file = argv[argc - 1];

    CTransparentBitmap light;
    if (!light.loadBitmap(lightBitmapId)) {
        std::fprintf(stderr, "drawsheet: the light bitmap does not load\n");
        return 1;
    }

    QImage sheet(1400, 1200, QImage::Format_RGB32);
    sheet.fill(paper);
    int height = 0;
    {
        CSheet layout(&sheet);
        layout.place("drawBox raised, depth 0 1 2 3", boxes(true));
        layout.place("drawBox sunken, depth 0 1 2 3", boxes(false));
        layout.newRow();
        layout.place("lines in 8 directions (blue: ties)", lines());
        layout.place("Rectangle / null pen / FillRect", rectangles());
        layout.place("xor once", exclusiveOr(1));
        layout.place("xor twice", exclusiveOr(2));
        layout.newRow();
        layout.place("anisotropic, y up", yUpMapping());
        layout.place("polygon clip (star)", polygonClip());
        layout.place("transparent bitmap: draw / drawTransparent", transparentBitmap(light));
        layout.newRow();
        layout.place("centred DrawText, CALCRECT box in red", centredText(), 2);
        layout.place("horizontal gradient", gradient(), 2);
        layout.newRow();
        layout.place("system colours", systemColors(), 1);
        height = layout.bottom();
    }
    if (!sheet.copy(0, 0, sheet.width(), std::min(height, sheet.height()))
             .save(QString::fromLocal8Bit(file))) {
        std::fprintf(stderr, "drawsheet: cannot write %s\n", file);
        return 1;
    }
    return 0;
}
