// One element's picture in an element editor: the slot's image at one image
// pixel per screen pixel, never smoothed. It reads the slot on every paint,
// so a repaint after a load shows the new picture. A picture file dropped on
// it from the file manager is handed on as if chosen with "Load Image".
#pragma once

#include <QWidget>

#include "model/ImageSlot.h"

namespace corvane {

class CElementPicture : public QWidget {
    Q_OBJECT
public:
    CElementPicture(const ImageSlot& slot, QWidget* parent = nullptr);

    QSize sizeHint() const override;

signals:
    void FileDropped(const QString& path);

protected:
    void paintEvent(QPaintEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    const ImageSlot& slot_;
};

}  // namespace corvane
