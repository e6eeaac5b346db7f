// The chooser's swatch: a bordered field filled with the colour picked so far.
#pragma once

#include <QFrame>

#include "imaging/Image.h"

namespace corvane {

// "#RRGGBB", as screen readers read a swatch.
QString ColourName(Colour colour);

class CColorIndicator : public QFrame {
    Q_OBJECT
public:
    explicit CColorIndicator(QWidget* parent = nullptr);

    void SetColour(Colour colour);
    Colour GetColour() const { return colour_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Colour colour_{};
};

}  // namespace corvane
