// The About box "About Polydrim": start-up splash and Help > About.
#pragma once

#include <QDialog>

class CAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit CAboutBox(QWidget* parent = nullptr);
};
