#ifndef TALVERO_APP_PANE_CYCLE_H
#define TALVERO_APP_PANE_CYCLE_H

// The order in which F6 and Shift+F6 move the focus through a document
// window's panes, skipping those that are not shown.

enum DocumentPane : int {
  kPaneTree = 0,
  kPaneFirstView = 1,
  kPaneSecondView = 2,
  kPaneInspect = 3,
  kPaneCount = 4,
};

// The pane after `current` (before it when backwards) among the visible
// ones; `current` itself when no other is visible. A current pane outside
// the cycle starts from the first view.
int NextVisiblePane(int current, const bool visible[kPaneCount], bool backwards);

#endif
