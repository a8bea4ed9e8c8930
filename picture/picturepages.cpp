// The template of the picture's page.

#include "framework/controls/pagerows.h"
#include "picture/pictureids.h"
#include "platform/ui/window.h"

#include <QtCore/QStandardPaths>

#include <string>

namespace {

// A text as a property bag holds it: backslash, line feed and carriage return escaped.
std::string bagText(const std::string& text)
{
    std::string escaped;
    for (const char c : text) {
        if (c == '\\')
            escaped += "\\\\";
        else if (c == '\n')
            escaped += "\\n";
        else if (c == '\r')
            escaped += "\\r";
        else
            escaped += c;
    }
    return escaped;
}

// The picker's initial state: it opens in the user's pictures folder and offers the picture
// files.
const char* pickerInitState()
{
    static const std::string state = [] {
        std::string folder
            = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation).toStdString();
        if (folder.empty() || folder.back() != '/')
            folder += '/';
        return "DefaultPath=" + bagText(folder)
            + "\nDefaultFile=*.jpg; *.gif; *.bmp"
              "\nDefaultFilePrompt=Image Files (*.jpg; *.gif; *.bmp)"
              "\nDialogTitle=Locate File\n";
    }();
    return state.c_str();
}

DialogTemplate generalTemplate()
{
    return zorPageTemplate(IDD_PROPPAGE_JPEG, "General",
        {zorLabelRow(-1, "File:", 7, 7, 14, 8),
            zorHostedRow(
                IDC_FILE, c_szPathPickProgId, pickerInitState(), 7, 16, 112, 18, WS_TABSTOP),
            {eDLG_CHECKBOX, IDC_BOXBORDER, "&3d Border", 7, 48, 47, 10, WS_TABSTOP},
            {eDLG_CHECKBOX, IDC_BORDER, "Border", 7, 63, 37, 10, WS_TABSTOP},
            zorLabelRow(IDC_BORDERCOLOR_LABEL, "Border Color:", 7, 75, 42, 8),
            zorHostedColorRow(
                IDC_BORDERCOLOR, 7, 86, 67, 15, "ShowHexValue=1\nRGBColor=0x00000000\n"),
            zorLabelRow(IDC_BACKCOLOR_LABEL, "Background Color:", 99, 75, 60, 8),
            zorHostedColorRow(
                IDC_BACKCOLOR, 99, 86, 67, 15, "ShowHexValue=1\nRGBColor=0x05000000\n"),
            {eDLG_CHECKBOX, IDC_STRETCH, "Stretch to fit control", 145, 14, 77, 10, WS_TABSTOP},
            {eDLG_CHECKBOX, IDC_KEEPASPECT, "&Keep aspect ratio", 145, 28, 71, 10, WS_TABSTOP},
            {eDLG_CHECKBOX, IDC_RESIZEWINDOW, "&Resize Window to Image", 145, 44, 98, 10,
                WS_TABSTOP}});
}

} // namespace

ZOR_DIALOG_TABLE({generalTemplate()});
