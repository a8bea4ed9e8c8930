#pragma once

// What the picture's tests share: zorpicture29 registered in the test's registry with
// zorwidgets29 (the page's colour controls) and zorpathpick29 (the page's file picker), the
// picture control hosted in a dialog, and pictures written into a folder of the test's own.

#include "platform/ole/site.h"
#include "platform/ui/dialog.h"
#include "tests/support/tempfolder.h"

#include <QtGui/QImage>

#include <memory>
#include <string>

void registerPicture();
void pumpEvents();

class CHostedPicture
{
public:
    CHostedPicture(const std::string& initState, int width, int height);
    ~CHostedPicture();
    COleControl* control() const { return m_site.control(); }
    IDispatch* dispatch() const { return m_site.dispatch(); }
    HRESULT call(DISPID dispid, std::vector<COleVariant> args, COleVariant* result = nullptr);
    HRESULT put(DISPID dispid, const COleVariant& value);
    COleVariant get(DISPID dispid);
    // The control's client size now.
    CSize size() const;
    QImage grab();

private:
    std::unique_ptr<CDialog> m_dialog;
    COleControlSite m_site;
};

// Pictures of a test: written by Qt (PNG, BMP, JPEG) or converted from a PNG by ImageMagick
// (GIF, TGA).
class CPictureFolder
{
public:
    // The picture saved under the name; its format follows the extension.
    std::string write(const std::string& name, const QImage& picture);
    // The PNG `from` converted to `name` in the format (ImageMagick's name for it) by
    // ImageMagick's convert.
    std::string convert(const std::string& from, const std::string& name, const char* format);
    std::string file(const std::string& name) const { return m_folder.file(name); }
    static std::string bytesOf(const std::string& path);

private:
    TempFolder m_folder;
};

// A picture of the size whose left half is red and right half blue.
QImage halvesPicture(int width, int height);
QImage solidPicture(int width, int height, QRgb colour);
// Where a picture with red and blue in it shows: the bounding box of the pixels whose red or
// blue is strong and green weak (backgrounds, borders and boxes have neither); empty if none.
CRect pictureArea(const QImage& image);
// A pixel in the platform's byte order (red low; CLR_INVALID outside the image).
COLORREF pixel(const QImage& image, int x, int y);
