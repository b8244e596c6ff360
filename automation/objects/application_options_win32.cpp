// The Application object's options interface: the user formats and
// bookmarks of the settings lists, and the settings profile.

#include <cstring>

#include "automation/objects/application_win32.h"
#include "automation/objects/aworkbook_win32.h"
#include "automation/options/option_lists.h"
#include "platform/com/bstr_text_win32.h"
#include "services/settings/settings_path.h"
#include "services/settings/settings_profile.h"

namespace {

// A list handed in: one dimension, lower and upper bound (lower + count - 1)
// both below the number of entries, taken as unsigned. *first and *last
// hold the bounds.
bool ListBoundsValid(SAFEARRAY* array, ULONG entries, LONG* first, LONG* last) {
  if (array == nullptr || SafeArrayGetDim(array) != 1) return false;
  if (FAILED(SafeArrayGetLBound(array, 1, first)) || FAILED(SafeArrayGetUBound(array, 1, last))) return false;
  return static_cast<ULONG>(*first) < entries && static_cast<ULONG>(*last) < entries;
}

// Reads each element of a list of texts in order and hands the non-empty
// ones to add: E_INVALIDARG for bad bounds or a text add refuses, E_FAIL
// for an element that cannot be read.
template <class List, class Add>
HRESULT ReadTextList(SAFEARRAY* array, ULONG entries, List& list, Add add) {
  LONG first = 0;
  LONG last = 0;
  if (!ListBoundsValid(array, entries, &first, &last)) return E_INVALIDARG;
  VARTYPE type = VT_EMPTY;
  if (FAILED(SafeArrayGetVartype(array, &type)) || type != VT_BSTR || SafeArrayGetElemsize(array) != sizeof(BSTR))
    return E_FAIL;
  for (LONG i = first; i <= last; ++i) {
    BSTR text = nullptr;
    if (FAILED(SafeArrayGetElement(array, &i, &text))) return E_FAIL;
    const HRESULT added = text != nullptr && SysStringLen(text) > 0 ? add(list, text) : S_OK;
    SysFreeString(text);
    if (FAILED(added)) return added;
  }
  return S_OK;
}

// A list handed out: count texts from text(i), lower bound 0.
template <class Text>
HRESULT WriteTextList(int count, Text text, SAFEARRAY** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  SAFEARRAY* array = SafeArrayCreateVector(VT_BSTR, 0, static_cast<ULONG>(count));
  if (array == nullptr) return E_OUTOFMEMORY;
  for (LONG i = 0; i < count; ++i) {
    BSTR element = text(i);
    const bool put = element != nullptr && SUCCEEDED(SafeArrayPutElement(array, &i, element));
    SysFreeString(element);
    if (!put) {
      SafeArrayDestroy(array);
      return E_FAIL;
    }
  }
  *out = array;
  return S_OK;
}

// The profile's path, which must not be cut: another file would be read or
// written.
bool ProfilePath(BSTR path, char* out) { return BstrToWholeAnsi(path, out, kSettingsPathSize); }

HRESULT ProfileResult(uint8_t code, const char* path) {
  if (code != 0) return CAWorkbook::ReportError(code, IID_IOptions, 0);
  std::strcpy(SettingsPath, path);
  return S_OK;
}

}  // namespace

STDMETHODIMP CApplication::GetStyles(SAFEARRAY** styles) {
  const ProfileLists* lists = Options.Lists;
  if (lists == nullptr) return E_OUTOFMEMORY;
  return WriteTextList(lists->userFormatCount, [lists](LONG i) {
    char text[kUserFormatEntryTextSize];
    UserFormatText(*lists, i, text);
    return AnsiToBstr(text, kUserFormatEntryTextSize);
  }, styles);
}

STDMETHODIMP CApplication::SetStyles(SAFEARRAY* styles) {
  if (Options.Lists == nullptr) return E_OUTOFMEMORY;
  UserFormatList list;
  const HRESULT read = ReadTextList(styles, kUserFormatCount, list, [](UserFormatList& formats, BSTR text) {
    if (SysStringLen(text) > kUserFormatTextCapacity) return E_INVALIDARG;
    char ansi[kUserFormatEntryTextSize * 2];
    return BstrToWholeAnsi(text, ansi, sizeof ansi) && AddUserFormatText(formats, ansi) ? S_OK : E_INVALIDARG;
  });
  if (read == S_OK) StoreUserFormats(list, *Options.Lists);
  return read;
}

STDMETHODIMP CApplication::GetBookmarks(SAFEARRAY** bookmarks) {
  const ProfileLists* lists = Options.Lists;
  if (lists == nullptr) return E_OUTOFMEMORY;
  return WriteTextList(lists->bookmarkCount, [lists](LONG i) {
    return AnsiToBstr(lists->bookmarks[i], kProfilePathSize);
  }, bookmarks);
}

STDMETHODIMP CApplication::SetBookmarks(SAFEARRAY* bookmarks) {
  if (Options.Lists == nullptr) return E_OUTOFMEMORY;
  BookmarkList list;
  const HRESULT read = ReadTextList(bookmarks, kBookmarkCount, list, [](BookmarkList& texts, BSTR text) {
    char ansi[kProfilePathSize];
    return BstrToWholeAnsi(text, ansi, sizeof ansi) && AddBookmarkText(texts, ansi) ? S_OK : E_INVALIDARG;
  });
  if (read == S_OK) StoreBookmarks(list, *Options.Lists);
  return read;
}

STDMETHODIMP CApplication::LoadProfile(BSTR path) {
  char file[kSettingsPathSize];
  if (!ProfilePath(path, file)) return E_INVALIDARG;
  return ProfileResult(ReadProfile(file, false), file);
}

STDMETHODIMP CApplication::SaveProfile(BSTR path) {
  char file[kSettingsPathSize];
  if (!ProfilePath(path, file)) return E_INVALIDARG;
  return ProfileResult(WriteProfile(file, false), file);
}
