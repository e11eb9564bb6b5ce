#pragma once

#include <QDialog>
#include <QString>

namespace morvane {

// The text of the keys guide.
QString KeysGuideText();

// "Keys Guide": the keys and mouse of the 3D view and the texture window.
class TForm6 : public QDialog {
    Q_OBJECT
public:
    explicit TForm6(QWidget* parent = nullptr);
};

// "About...": a picture and three lines on the program.
class TForm5 : public QDialog {
    Q_OBJECT
public:
    explicit TForm5(QWidget* parent = nullptr);
};

inline constexpr const char* ProgramVersion = "0.1.0";
inline constexpr const char* ProgramDate = "December 2026";

} // namespace morvane
