#ifndef TALVERO_DIALOGS_COMPOSER_DIALOG_H
#define TALVERO_DIALOGS_COMPOSER_DIALOG_H

// The formula composer (CComposerDlg, "Formula Composer"): a modeless tool
// window that builds one function call at a time. The user picks a
// category and a function of the catalogue, reads its help, fills its
// parameters one after the other from the active worksheet's selection and
// inserts the formula, or its value, into the frame's formula bar. The
// object lives as long as the frame; its window is made each time it is
// shown and keeps the function chosen and the values across a close.

#include <windows.h>

#include <commctrl.h>

#include "dialogs/composer/composer_selection.h"
#include "dialogs/composer/composer_state.h"
#include "platform/ui/dialog_impl.h"
#include "platform/ui/dialog_resize.h"
#include "platform/ui/splitter_window.h"
#include "platform/ui/window_impl.h"

class CWorkBook;

// What the composer asks of the program's main window.
class ComposerHost {
 public:
  virtual HWND HostWindow() = 0;
  // The active document's workbook with its active view's selection; false
  // without a document window.
  virtual bool ComposerSource(CWorkBook** book, ComposerSelection* selection) = 0;
  virtual HWND FormulaBarWindow() = 0;
  // The user is at work: the idle clocks start again.
  virtual void StampActivityClocks() = 0;
  // The user closed the composer.
  virtual void ComposerClosed() = 0;

 protected:
  ~ComposerHost() = default;
};

// The function list: a list box that tells its parent of every key and
// button release as a selection change, so that choosing a function again
// starts it anew.
class CFormulaList : public CWindowImpl {
 public:
  HWND CreateList(HWND parent);
  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;
};

class CComposerDlg : public CDialogImpl {
 public:
  explicit CComposerDlg(ComposerHost* host);
  ~CComposerDlg() override;

  // Creates and shows the window; false when it cannot be created.
  bool Show();
  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;
  // Stamps the host's idle clocks on the user's input, then hands the
  // message to the dialog manager.
  bool PreTranslateMessage(MSG* msg) override;

  const ComposerState& State() const { return m_state; }
  HWND FunctionList() const { return m_list.m_hWnd; }
  HWND HelpText() const { return m_help; }
  HWND ToolBar() const { return m_toolbar; }
  CSplitterWindow& Splitter() { return m_splitter; }

 private:
  LRESULT OnInitDialog();
  void OnDestroy();
  bool OnCommand(UINT id, UINT code);
  LRESULT OnToolbarDropDown(const NMTOOLBARA& info);
  void OnCategoryChange();
  void OnFunctionChange();
  void OnNextParameter();
  void OnUseSelection(ComposerSelectionUse use);
  void OnInsertFormula();
  void OnInsertValue();
  void CreateSplitter();
  void CreateParameterToolBar();
  void FillFunctionList(uint8_t category);
  void ShowHelpText();
  void ShowTemplate();
  void ShowFormula();
  void ShowCall();
  // The active workbook with the formula edit's text; null without a
  // document window.
  CWorkBook* ReadFormula(char* formula, size_t size);
  // The formula bar gets the text over its selection, or as its whole text
  // when it is empty.
  void PutIntoFormulaBar(const char* text, bool formula);

  ComposerHost* m_host;
  ComposerState m_state;
  CFormulaList m_list;
  CSplitterWindowT<false> m_splitter;
  HWND m_help = nullptr;
  HWND m_toolbar = nullptr;
  // Normal and greyed pictures of the toolbar, made once.
  HIMAGELIST m_images = nullptr;
  HIMAGELIST m_greyImages = nullptr;
  bool m_imagesTried = false;
  CDialogResize m_resize;
};

#endif
