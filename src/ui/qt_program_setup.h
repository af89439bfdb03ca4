#pragma once
// How the program sets Qt up: before the QApplication is made, and right after.
namespace chimewell {

// Before the QApplication: picks the platform and drawing options.
void PrepareQtPlatform(bool headless);
// After the QApplication: the program's name, and closing the window does not end it.
void NameQtApplication();

}  // namespace chimewell
