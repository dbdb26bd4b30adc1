#include "mainwindow.h"

TForm1::TForm1(QWidget *parent) : QWidget(parent)
{
    setWindowTitle(QString::fromLatin1(DesignedCaption));
    resize(1000, 600);
}
