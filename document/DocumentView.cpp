// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/DocumentView.h"

namespace {
TDocumentView silentView;
TDocumentView* currentView = &silentView;
}

TDocumentView& DocumentView()
{
    return *currentView;
}

TDocumentView* SetDocumentView(TDocumentView* view)
{
    TDocumentView* previous = currentView == &silentView ? nullptr : currentView;
    currentView = view ? view : &silentView;
    return previous;
}
