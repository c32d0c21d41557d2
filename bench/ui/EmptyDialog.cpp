// The baseline of the start-up measurement: an empty dialog of the main window's size, painted
// once under the same probe as the editor.
#include <QApplication>
#include <QDialog>

#include "dialogkit/FirstPaintProbe.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    vorlane::dk::installFirstPaintProbe();
    QDialog dialog;
    dialog.setFixedSize(468, 283);
    dialog.show();
    return QApplication::exec();
}
