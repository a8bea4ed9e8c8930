#pragma once

// The picture control: one picture (JPEG, PNG, BMP, PCX, TIFF, TGA, Windows or enhanced
// metafile) inside the control's client rectangle, optionally resampled to fit it with or
// without keeping the aspect ratio, optionally asking the container for the fitted size, with
// a flat border in BorderColor or a sunken box border. The picture comes from the file named
// by File or selectFile, from an encoded file image (setImageData) or from a picture record
// (setImage). Only the fitted pixels are kept: every size change and every property change
// decodes File again.
//
// Choices of this implementation:
// - setImageData(a_nLen, a_pData): a_pData is the encoded file image itself as a binary text,
//   not an address. Only min(a_nLen, length of a_pData) bytes are read; a negative a_nLen
//   reads nothing (and so loads nothing). No result, as declared.
// - setImage(a_pImage): a_pImage is a picture record (picturerecord.h: width, height, then the
//   RGB bytes) as a binary text. A record that is not whole is refused with E_INVALIDARG and
//   the picture stays as it was; a whole one is copied at its own size (no fit, no repaint).
// - BackColor (the stock colour) may hold a plain RGB value, a system colour reference of the
//   suite (top byte the colour's index, as the colour control makes them) or one in the stock
//   form (0x80000000 plus the index). Its default, the container's ambient background, is the
//   window background colour as a reference, since the sites here offer no ambient colour.
// - BorderColor is drawn as its RGB value; a system colour reference in it (the page's colour
//   control makes them) is resolved by the suite's colour rule instead of being drawn as a
//   meaningless value.
// - A fitted size of 0 or less (a control smaller than its borders) resamples nothing: the
//   picture keeps its size, as after any refused resampling.
// - A size change that the fit's own size request causes loads and fits the picture afresh;
//   the fit that asked then stops rather than resample that picture a second time.

#include "picture/rgbimage.h"
#include "platform/ole/control.h"
#include "platform/ole/factory.h"

class CJPEGCtrl : public COleControl
{
public:
    CJPEGCtrl();
    ~CJPEGCtrl() override;

    void OnDraw(CDC* pdc, const CRect& rcBounds, const CRect& rcInvalid) override;
    void DoPropExchange(CPropExchange* pPX) override;
    std::vector<CLSID> GetPropPageIDs() const override;

    int OnCreate() override;
    void OnSize(UINT nType, int cx, int cy) override;

    // Dispatch methods.
    bool selectFile(const std::string& a_sFile);
    void setImageData(LONG a_nLen, const std::string& a_pData);
    HRESULT setImage(const std::string& a_pImage);

    // The default of BackColor: the window background, as a system colour reference.
    static constexpr OLE_COLOR c_clrAmbientBack = 0x05000000;

private:
    // The property change step: load File afresh when it names one.
    void reloadFile();
    // Loads File and fits the picture; false when File is missing or does not load.
    bool loadFileAndFit();
    // Resamples the picture to the client rectangle as Stretch, KeepAspectRatio, ResizeWindow
    // and the borders say.
    void fit();
    bool hasBorder() const { return m_border != 0 || m_boxBorder != 0; }
    // Paint steps.
    void drawBackground(CDC* pdc) const;
    void drawBorder(CDC* pdc) const;
    void drawPicture(CDC* pdc) const;

    CModuleLock m_moduleLock {ZOR_THIS_MODULE()};
    LONG m_boxBorder {TRUE};
    OLE_COLOR m_borderColor {0};
    std::string m_file;
    LONG m_stretch {TRUE};
    LONG m_keepAspectRatio {TRUE};
    OLE_COLOR m_backColor {c_clrAmbientBack};
    LONG m_border {FALSE};
    LONG m_resizeWindow {TRUE};
    CRGBImage m_image;
    CRect m_client;
    // Counts fits, so that a fit learns whether its size request fitted the picture anew.
    unsigned m_fits {0};
};

// The RGB value of a BackColor: plain, a suite system colour reference or a stock one.
COLORREF zorTranslateBackColor(OLE_COLOR color);
