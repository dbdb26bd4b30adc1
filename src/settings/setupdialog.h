#pragma once
// TForm2: the Setup dialog. It edits the five directories and the export
// separator of the settings and writes them to kzmap.ini on "Ok". While it is
// shown the main window takes no input.

#include <QWidget>

class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class TDialogs;
class TShellExt;
struct TSettingsStore;

class TForm2 : public QWidget {
    Q_OBJECT
public:
    // store: the program's settings; mainWindow: disabled while the dialog is
    // shown (not the parent: a child window would be disabled with it).
    TForm2(TSettingsStore &store, TDialogs &dialogs, QWidget *mainWindow);

    // Disables the main window and shows the dialog without blocking, with the
    // focus on "Cancel".
    void showSetup();

    QGroupBox *GroupBox1;
    QLabel *Label1;
    QLabel *Label2;
    QLabel *Label3;
    QLabel *Label4;
    QLabel *Label7;
    QLineEdit *Edit1; // GameFilesDir
    QLineEdit *Edit2; // BaseFilesDir
    QLineEdit *Edit3; // GameMainDir
    QLineEdit *Edit4; // WorkDir
    QLineEdit *Edit5; // ImageListDir
    QRadioButton *RadioButton1;
    QRadioButton *RadioButton2;
    QRadioButton *RadioButton3;
    QRadioButton *RadioButton4;
    QRadioButton *RadioButton5;
    // The directory "Add Path" takes: typed in, or chosen with the "..."
    // button beside it (a directory chooser in place of a drive box and
    // directory list).
    QLineEdit *DirectoryListBox1;
    QPushButton *browseButton;
    QPushButton *Button2; // "Add Path"
    QPushButton *Button4; // "Associate *.BMS Files "
    QPushButton *Button5; // "Remove Association "
    QLabel *SettingsPlace; // where kzmap.ini is kept
    QFrame *Panel1;
    QPushButton *Button3; // "Ok"
    QPushButton *Button1; // "Cancel"
    QGroupBox *GroupBox2;
    QLabel *Label5;
    QLineEdit *E_IES;  // the separator character
    QLabel *Label6;
    QLineEdit *E_IESA; // its decimal code
    QGroupBox *GroupBox3;
    QCheckBox *CheckBox1;
    // Links *.bms files to this program (the two association buttons).
    TShellExt *ShellExt1;

signals:
    // The dialog was hidden by "Ok", "Cancel" or its close box.
    void finished();

public slots:
    void Button3Click(); // Ok
    void Button1Click(); // Cancel
    void Button2Click(); // Add Path
    void Button4Click(); // Associate: silent, the result is not shown
    void Button5Click(); // Remove Association: likewise
    void browseButtonClick();
    void E_IESChange(const QString &text);
    void E_IESAChange(const QString &text);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QLineEdit *editOfSelectedRadioButton() const;
    // E_IES := the character whose code E_IESA holds (its low byte); throws
    // the conversion error when E_IESA is not a whole number.
    void characterFromCode();
    // E_IESA := the decimal code of E_IES's first character.
    void codeFromCharacter();
    void enableMainWindow(bool showIt);

    TSettingsStore &m_store;
    TDialogs &m_dialogs;
    QWidget *m_mainWindow;
};
