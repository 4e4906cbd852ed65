// The help window: the user guide that ships in the resources, in a browser window.
#pragma once

#include <QWidget>

class QTextBrowser;

class CHelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit CHelpWindow(QWidget* parent = nullptr);
    // Shows the guide, scrolled to the named section ("" for the contents).
    void ShowTopic(const QString& anchor);
    QTextBrowser* Browser() const { return m_browser; }

private:
    QTextBrowser* m_browser;
};
