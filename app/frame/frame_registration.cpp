// Register and Unregister: the automation server's registry entries and type
// library, written or removed from the menu as the RegServer and
// UnregServer switches do.

#include "app/frame/main_frame.h"
#include "automation/server/server_registration_win32.h"
#include "services/messages/message_boxes.h"
#include "resources/resource_ids.h"

namespace {

// The system's text of its code; a failure without one is taken for a
// registry the account may not change.
void ShowRegistrationFailure(DWORD systemError) {
  char text[512];
  if (systemError != 0 && FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                         systemError, 0, text, sizeof text, nullptr) > 0) {
    ShowMessage(text);
    return;
  }
  ShowMessageRes(IDS_REGISTRATION_FAILED, MB_OK | MB_ICONINFORMATION);
}

void ReportRegistration(bool done, DWORD systemError, UINT successText) {
  if (done)
    ShowMessageRes(successText, MB_OK | MB_ICONINFORMATION);
  else
    ShowRegistrationFailure(systemError);
}

}  // namespace

void CMainFrame::OnRegisterServer() {
  DWORD systemError = 0;
  const bool done = RegisterServer(&systemError);
  ReportRegistration(done, systemError, IDS_COM_REGISTERED);
}

void CMainFrame::OnUnregisterServer() {
  DWORD systemError = 0;
  const bool done = UnregisterServer(&systemError);
  ReportRegistration(done, systemError, IDS_COM_UNREGISTERED);
}
