// "Recover Unsaved Work": the copies left by programs that ended without saving, and
// what the user wants done with them; behind an interface so tests can answer.
#pragma once

#include <QDateTime>
#include <QDialog>
#include <QList>
#include <QString>

class QTreeWidget;

struct RecoveryOffer {
    QString original;  // the model's file; empty for an untitled model
    QDateTime time;    // when the copy was taken
};

enum class RecoveryChoice { Recover, Discard, Later };

struct RecoveryAnswer {
    RecoveryChoice choice = RecoveryChoice::Later;
    int index = 0;  // which offer
};

class CRecoveryPrompt {
public:
    virtual ~CRecoveryPrompt() = default;
    // One question about the offers (newest first): recover one, discard one, or keep
    // them all for the next start.
    virtual RecoveryAnswer AskRecovery(QWidget* parent, const QList<RecoveryOffer>& offers) = 0;
    // Damaged copies that were put aside, and failures of Discard or Recover.
    virtual void ShowRecoveryProblem(QWidget* parent, const QString& text) = 0;
};

// The real dialog.
class CQtRecoveryPrompt : public CRecoveryPrompt {
public:
    RecoveryAnswer AskRecovery(QWidget* parent, const QList<RecoveryOffer>& offers) override;
    void ShowRecoveryProblem(QWidget* parent, const QString& text) override;
};

// The list of copies with Recover (the default), Discard and Later (also Esc).
class CRecoveryDialog : public QDialog {
    Q_OBJECT
public:
    CRecoveryDialog(const QList<RecoveryOffer>& offers, QWidget* parent = nullptr);
    RecoveryAnswer Answer() const;
    QTreeWidget* List() const { return m_list; }

private:
    void Choose(RecoveryChoice choice);

    QTreeWidget* m_list;
    RecoveryChoice m_choice = RecoveryChoice::Later;
};

// "box.pdm" with its folder, or "Untitled"; the time in the user's local time.
QString RecoveryOfferName(const RecoveryOffer& offer);
QString RecoveryOfferTime(const RecoveryOffer& offer);
