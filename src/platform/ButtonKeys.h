#pragma once

class QWidget;

// Enter and Return on a focused push button of window click it, as Space does.
// Qt hands Enter to a button only while it may be its dialog's default, and the
// windows here turn that off so that Enter in a field never presses Save by itself.
void enterClicksFocusedButton(QWidget *window);
