#include "tools/zorlists/listsapp.h"

#include "tools/zorlists/listsdialog.h"

namespace {

// The one application object, made before start-up.
CListsApp s_theApp;

} // namespace

CListsApp::CListsApp() : CWinApp("ZorLists") { }

BOOL CListsApp::InitInstance()
{
    CListsDialog dialog(m_lpCmdLine.find("--sorted") != std::string::npos);
    m_pMainWnd = &dialog;
    dialog.DoModal();
    m_pMainWnd = nullptr;
    // The dialog was the whole program.
    return FALSE;
}
