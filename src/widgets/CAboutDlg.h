#pragma once

#include <QDialog>

namespace corvane {

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

// Both editors' "&About Corvane Desktop": a parentless modal about box.
void ShowAboutBox();

}  // namespace corvane
