#include "framework/frame/myformview.h"

CMyFormView::CMyFormView(UINT nIDTemplate) : CFormView(nIDTemplate) { }

BOOL CMyFormView::Create(const char* lpszClassName, const char* lpszWindowName, DWORD dwStyle,
    const RECT& rect, CWnd* pParentWnd, UINT nID, void* pContext)
{
    return CFormView::Create(
        lpszClassName, lpszWindowName, dwStyle, rect, pParentWnd, nID, pContext);
}
