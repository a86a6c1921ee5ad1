#pragma once

class QWidget;

// A window kept above every window that is not itself topmost, shown without taking the activation
// from the window that has it (a browser opened from its links included).
namespace TopmostWindow {

// Call before the window is first shown: changing window flags later hides a shown window.
void prepare(QWidget* window);

// Shows the window (again) on top, without activating it.
void show(QWidget* window);

} // namespace TopmostWindow
