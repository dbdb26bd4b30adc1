#pragma once
// TForm1: the main window.

#include <QWidget>

class TForm1 : public QWidget {
    Q_OBJECT
public:
    explicit TForm1(QWidget *parent = nullptr);
    static constexpr const char *DesignedCaption = "Vellumar (v1.1.0 Final Rev.:482)";
};
