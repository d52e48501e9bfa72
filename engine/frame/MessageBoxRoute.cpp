#include "MessageBoxRoute.h"

namespace {

int SystemMessageBox(HWND owner, const char* text, const char* caption, UINT type) {
  return MessageBoxA(owner, text, caption, type);
}

MessageBoxFunction g_messageBox = SystemMessageBox;

}  // namespace

MessageBoxFunction SetMessageBoxFunction(MessageBoxFunction function) {
  MessageBoxFunction previous = g_messageBox;
  g_messageBox = function ? function : SystemMessageBox;
  return previous;
}

int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type) {
  return g_messageBox(owner, text, caption, type);
}
