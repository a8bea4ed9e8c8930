#include "tests/picture/picturetestsupport.h"

#include "platform/ole/dispatchimpl.h"
#include "platform/ole/factory.h"
#include "platform/ole/oleinit.h"

#include <gtest/gtest.h>

#include <QtCore/QCoreApplication>
#include <QtCore/QElapsedTimer>
#include <QtCore/QFile>
#include <QtCore/QProcess>

#include <cstdlib>

namespace {

constexpr UINT c_hostTemplate = 9451;
constexpr const char* c_szJPEGClsid = "{01540154-0123-0000-0029-000000000004}";

HMODULE load(const char* file)
{
    const char* dir = std::getenv("ZORVEX_BIN_DIR");
    return LoadLibraryA((std::string(dir ? dir : ".") + "/" + file).c_str());
}

HRESULT registerModule(const char* file)
{
    HMODULE module = load(file);
    auto entry = module
        ? reinterpret_cast<ZorDllRegisterServer>(GetProcAddress(module, "DllRegisterServer"))
        : nullptr;
    return entry ? entry() : E_FAIL;
}

} // namespace

ZOR_DIALOG_TABLE({
    {c_hostTemplate, "Host", 400, 300, "MS Sans Serif", 8, WS_POPUP | WS_CAPTION | WS_VISIBLE, {}},
});

void registerPicture()
{
    static const std::string failure = [] {
        AfxOleInit();
        AfxEnableControlContainer();
        std::string failed;
        for (const char* module : {"zorwidgets29.so", "zorpathpick29.so", "zorpicture29.so"}) {
            if (registerModule(module) != S_OK)
                failed += std::string(module) + " (" + zorModuleLoadError() + ") ";
        }
        return failed;
    }();
    ASSERT_EQ(failure, "") << "modules that did not register";
}

void pumpEvents()
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 30)
        QCoreApplication::processEvents();
}

CHostedPicture::CHostedPicture(const std::string& initState, int width, int height)
    : m_dialog(std::make_unique<CDialog>(c_hostTemplate))
{
    registerPicture();
    if (!m_dialog->Create(c_hostTemplate))
        return;
    m_site.create(c_szJPEGClsid, initState, m_dialog.get(), CRect(0, 0, width, height), 700);
    pumpEvents();
}

CHostedPicture::~CHostedPicture()
{
    m_site.destroy();
    if (m_dialog->GetSafeHwnd())
        m_dialog->DestroyWindow();
}

HRESULT CHostedPicture::call(DISPID dispid, std::vector<COleVariant> args, COleVariant* result)
{
    return zorInvoke(dispatch(), dispid, DISPATCH_METHOD, std::move(args), result);
}

HRESULT CHostedPicture::put(DISPID dispid, const COleVariant& value)
{
    return zorPutProperty(dispatch(), dispid, value);
}

COleVariant CHostedPicture::get(DISPID dispid)
{
    COleVariant value;
    EXPECT_EQ(zorGetProperty(dispatch(), dispid, &value), S_OK);
    return value;
}

CSize CHostedPicture::size() const
{
    CRect client;
    control()->GetClientRect(&client);
    return client.Size();
}

QImage CHostedPicture::grab()
{
    pumpEvents();
    return control()->grabClient();
}

std::string CPictureFolder::write(const std::string& name, const QImage& picture)
{
    const std::string path = m_folder.file(name);
    EXPECT_TRUE(picture.save(QString::fromStdString(path), nullptr, 100)) << path;
    return path;
}

std::string CPictureFolder::convert(
    const std::string& from, const std::string& name, const char* format)
{
    const std::string path = m_folder.file(name);
    const int result = QProcess::execute("convert",
        {QString::fromStdString(from), QString::fromStdString(std::string(format) + ":" + path)});
    EXPECT_EQ(result, 0) << "convert " << from << " " << path;
    return path;
}

std::string CPictureFolder::bytesOf(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path;
    return file.readAll().toStdString();
}

QImage halvesPicture(int width, int height)
{
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(qRgb(0, 0, 255));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width / 2; ++x)
            picture.setPixel(x, y, qRgb(255, 0, 0));
    }
    return picture;
}

QImage solidPicture(int width, int height, QRgb colour)
{
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(colour);
    return picture;
}

CRect pictureArea(const QImage& image)
{
    CRect area;
    bool any = false;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb rgb = image.pixel(x, y);
            if (qGreen(rgb) >= 64 || (qRed(rgb) < 160 && qBlue(rgb) < 160))
                continue;
            if (!any) {
                area = CRect(x, y, x + 1, y + 1);
                any = true;
            }
            area.left = std::min<LONG>(area.left, x);
            area.top = std::min<LONG>(area.top, y);
            area.right = std::max<LONG>(area.right, x + 1);
            area.bottom = std::max<LONG>(area.bottom, y + 1);
        }
    }
    return area;
}

COLORREF pixel(const QImage& image, int x, int y)
{
    if (!image.valid(x, y))
        return CLR_INVALID;
    const QRgb rgb = image.pixel(x, y);
    return RGB(qRed(rgb), qGreen(rgb), qBlue(rgb));
}
