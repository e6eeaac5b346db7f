#pragma once

#include <QDialog>

namespace corvane {

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);
};

// Both editors' "&About Corvane Desktop": a parentless modal about box.
void ShowAboutBox();

}  // namespace corvane
