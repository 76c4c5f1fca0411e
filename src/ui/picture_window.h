#pragma once
// A window of the program's own that shows a picture file at its natural
// size, scrolled where it is larger than the screen, with the file's name as
// its title: for pictures the desktop has no program to show.

#include <QDialog>
#include <filesystem>
#include <string>

class TPictureWindow : public QDialog {
    Q_OBJECT
public:
    // Raises EError when the file holds no picture that can be read.
    TPictureWindow(QWidget* parent, const std::filesystem::path& picture);
};

// Shows the picture in a window of its own beside the parent, which stays
// usable; the window goes when it is closed. A picture that cannot be read
// is reported in the error box.
void ShowPictureWindow(QWidget* parent, const std::filesystem::path& picture);
