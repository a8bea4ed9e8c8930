#pragma once

// A form view whose object its owner keeps and deletes: the window's end leaves the object
// alone.

#include "platform/ui/formview.h"

class CMyFormView : public CFormView
{
public:
    explicit CMyFormView(UINT nIDTemplate);

    BOOL Create(const char* lpszClassName, const char* lpszWindowName, DWORD dwStyle,
        const RECT& rect, CWnd* pParentWnd, UINT nID, void* pContext = nullptr) override;

protected:
    // The object is not deleted with its window.
    void PostNcDestroy() override { }
};
