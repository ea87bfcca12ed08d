// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/DocumentChange.h"

#include "core/State.h"
#include "document/DocumentView.h"

namespace {
int depth = 0;
}

TDocumentChange::TDocumentChange(std::function<std::string()> name, bool mergeable)
{
    if (depth++ == 0)
        DocumentView().BeginChange(name, mergeable);
}

TDocumentChange::~TDocumentChange()
{
    if (--depth == 0)
        DocumentView().EndChange();
}

TDocumentSnapshot TakeSnapshot()
{
    return {ALL.Image, ALL.CurrentChannel};
}

void RestoreSnapshot(const TDocumentSnapshot& snapshot)
{
    ALL.Image = snapshot.Image;
    ALL.CurrentChannel = snapshot.CurrentChannel;
}
