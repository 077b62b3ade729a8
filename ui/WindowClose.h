#pragma once

class QAbstractButton;
class QAction;
class QDialog;
class QWidget;

// Window close: the button (cmdClose) or menu item (mnuClose) closes its
// window at once; nothing is saved, checked or asked. A closed window is
// deleted. The button is the window's cancel button: Esc presses it
// wherever the focus is. The window gets no default button.
void AttachWindowClose(QDialog* window, QAbstractButton* cmdClose);
void AttachWindowClose(QDialog* window, QAction* mnuClose);

// No button of the window is a default button, so Enter in a field never
// presses one; a button that has the focus is still pressed by Enter.
// Call after the window's buttons exist.
void NoDefaultButtons(QWidget* window);

// Closing the window deletes it; Esc does nothing unless a cancel button
// is attached (a plain dialog would otherwise close on Esc).
void PrepareWindow(QDialog* window);
