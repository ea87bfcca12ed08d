// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <functional>
#include <string>

// What the core asks of the main window after it replaced the document. The
// window installs itself at start-up; without a window (command line, tests)
// the calls go nowhere.
class TDocumentView {
public:
    virtual ~TDocumentView() = default;
    virtual void BuildTree() {}
    virtual void UpdateStatus() {}
    virtual void RefreshEditors() {}
    // Marks the tree node of ALL.CurrentChannel.
    virtual void SelectChannelNode() {}
    // One user change of the document begins and ends (see
    // TDocumentChange); the window keeps it for undo.
    virtual void BeginChange(const std::function<std::string()>& /*name*/, bool /*mergeable*/) {}
    virtual void EndChange() {}
};

// The view in use; never null.
TDocumentView& DocumentView();
// Installs a view (nullptr puts back the silent one) and returns the previous.
TDocumentView* SetDocumentView(TDocumentView* view);
