// The "Recover Unsaved Work" dialog and the message about damaged copies.
#include "app/shell/recovery_dialog.h"

#include <algorithm>

#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QScreen>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

QString RecoveryOfferName(const RecoveryOffer& offer)
{
    if (offer.original.isEmpty()) return QStringLiteral("Untitled");
    const QFileInfo file(offer.original);
    return QStringLiteral("%1 (in %2)").arg(file.fileName(), QDir::toNativeSeparators(file.path()));
}

QString RecoveryOfferTime(const RecoveryOffer& offer)
{
    return offer.time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

CRecoveryDialog::CRecoveryDialog(const QList<RecoveryOffer>& offers, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("RecoveryDialog"));
    setWindowTitle(QStringLiteral("Recover Unsaved Work"));
    auto* layout = new QVBoxLayout(this);
    auto* text = new QLabel(
        offers.size() == 1
            ? QStringLiteral("Polydrom ended without saving this model. A copy of its last state was kept:")
            : QStringLiteral("Polydrom ended without saving these models. A copy of each one's last state was kept:"),
        this);
    text->setWordWrap(true);
    layout->addWidget(text);

    m_list = new QTreeWidget(this);
    m_list->setRootIsDecorated(false);
    m_list->setHeaderLabels({QStringLiteral("Model"), QStringLiteral("Copy taken")});
    for (const RecoveryOffer& offer : offers) {
        auto* row = new QTreeWidgetItem(m_list, {RecoveryOfferName(offer), RecoveryOfferTime(offer)});
        row->setToolTip(0, offer.original);
    }
    // Both columns as wide as their longest line, and the dialog wide enough to show them
    // (within the screen; beyond it the list scrolls), so no name or time is cut short.
    m_list->header()->setStretchLastSection(false);
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    int contents = 2 * m_list->frameWidth() + 2 * layout->contentsMargins().left() + 8;
    for (int column = 0; column < m_list->columnCount(); ++column) {
        m_list->resizeColumnToContents(column);
        contents += m_list->columnWidth(column);
    }
    m_list->setCurrentItem(m_list->topLevelItem(0));
    layout->addWidget(m_list);

    auto* hint = new QLabel(QStringLiteral("Recover opens the copy in place of the current model; save it to keep "
                                           "it. Discard deletes the copy. Later keeps every copy for the next start."),
                            this);
    hint->setWordWrap(true);
    layout->addWidget(hint);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* recover = buttons->addButton(QStringLiteral("&Recover"), QDialogButtonBox::AcceptRole);
    QPushButton* discard = buttons->addButton(QStringLiteral("&Discard"), QDialogButtonBox::DestructiveRole);
    QPushButton* later = buttons->addButton(QStringLiteral("&Later"), QDialogButtonBox::RejectRole);
    recover->setObjectName(QStringLiteral("Recover"));
    discard->setObjectName(QStringLiteral("Discard"));
    later->setObjectName(QStringLiteral("Later"));
    recover->setDefault(true);
    connect(recover, &QPushButton::clicked, this, [this] { Choose(RecoveryChoice::Recover); });
    connect(discard, &QPushButton::clicked, this, [this] { Choose(RecoveryChoice::Discard); });
    connect(later, &QPushButton::clicked, this, [this] { Choose(RecoveryChoice::Later); });
    connect(m_list, &QTreeWidget::itemActivated, this, [this] { Choose(RecoveryChoice::Recover); });
    layout->addWidget(buttons);
    const QScreen* shown = parent ? parent->screen() : QGuiApplication::primaryScreen();
    const int room = shown ? shown->availableGeometry().width() * 9 / 10 : contents;
    resize(std::clamp(contents, 560, std::max(560, room)), 300);
}

void CRecoveryDialog::Choose(RecoveryChoice choice)
{
    m_choice = choice;
    if (choice == RecoveryChoice::Later) reject();
    else accept();
}

RecoveryAnswer CRecoveryDialog::Answer() const
{
    // Closing the window or Esc is Later: nothing is lost by asking again.
    if (result() != QDialog::Accepted) return RecoveryAnswer{RecoveryChoice::Later, 0};
    const int index = m_list->indexOfTopLevelItem(m_list->currentItem());
    return RecoveryAnswer{m_choice, index < 0 ? 0 : index};
}

RecoveryAnswer CQtRecoveryPrompt::AskRecovery(QWidget* parent, const QList<RecoveryOffer>& offers)
{
    CRecoveryDialog dialog(offers, parent);
    dialog.exec();
    return dialog.Answer();
}

void CQtRecoveryPrompt::ShowRecoveryProblem(QWidget* parent, const QString& text)
{
    QMessageBox::warning(parent, QStringLiteral("Recover Unsaved Work"), text);
}
