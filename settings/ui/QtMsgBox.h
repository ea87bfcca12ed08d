#pragma once
// MsgBox on real message boxes: information with OK, question with Yes/No.
void InstallQtMsgBox();
