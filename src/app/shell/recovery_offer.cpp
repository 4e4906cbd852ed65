// The start-up offer of recovery copies.
#include "app/shell/recovery_offer.h"

#include <algorithm>
#include <chrono>
#include <future>

#include <QCoreApplication>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QStringList>

#include "app/shell/main_frame.h"
#include "app/shell/recovery_dialog.h"
#include "app/shell/status_bar.h"
#include "framework/recovery_store.h"
#include "model/recovery_copy.h"

namespace {

QString FromNative(const std::string& text) { return QFile::decodeName(QByteArray::fromStdString(text)); }

RecoveryOffer OfferOf(const RecoveryLeftover& leftover)
{
    return RecoveryOffer{FromNative(leftover.info.original), QDateTime::fromSecsSinceEpoch(leftover.info.time)};
}

// "box.pdm (in /home/ann), copy taken 2024-05-01 12:00:00", or the file when its description is unreadable.
QString Describe(const RecoveryLeftover& leftover)
{
    if (leftover.info.process.pid <= 0) return QDir::toNativeSeparators(FromNative(leftover.modelPath));
    const RecoveryOffer offer = OfferOf(leftover);
    return QStringLiteral("%1, copy taken %2").arg(RecoveryOfferName(offer), RecoveryOfferTime(offer));
}

// What is wrong with a damaged copy. The check's message names the copy's own file,
// which is about to move; the reason is what the user needs.
QString Problem(const RecoveryLeftover& leftover)
{
    QString problem = FromNative(leftover.problem);
    const QString opening = QStringLiteral("Cannot open \"%1\": ").arg(FromNative(leftover.modelPath));
    if (problem.startsWith(opening)) problem.remove(0, opening.size());
    if (problem.endsWith(QLatin1Char('.'))) problem.chop(1);
    return problem;
}

void PutAsideDamaged(CMainFrame& frame, CRecoveryStore& store, const std::vector<RecoveryLeftover>& damaged,
                     CRecoveryPrompt& prompt)
{
    if (damaged.empty()) return;
    QStringList lines;
    for (const RecoveryLeftover& leftover : damaged) {
        QString line = QStringLiteral("%1: %2").arg(Describe(leftover), Problem(leftover));
        // A copy that cannot even be moved stays where it is, and is reported again next time.
        if (Result moved = store.PutAside(leftover); !moved)
            line += QStringLiteral("; it stays where it is: %1").arg(FromNative(moved.error));
        lines << line + QLatin1Char('.');
    }
    const QString text = damaged.size() == 1
                             ? QStringLiteral("A recovery copy is damaged and cannot be opened. It was moved to %1, "
                                              "where it is kept but not offered again.\n\n%2")
                             : QStringLiteral("These recovery copies are damaged and cannot be opened. They were moved "
                                              "to %1, where they are kept but not offered again.\n\n%2");
    prompt.ShowRecoveryProblem(
        &frame, text.arg(QDir::toNativeSeparators(FromNative(store.DamagedFolder())), lines.join(QLatin1Char('\n'))));
}

void Offer(CMainFrame& frame, CRecoveryStore& store, CRecoveryPrompt& prompt, std::vector<RecoveryLeftover> found)
{
    std::vector<RecoveryLeftover> sound, damaged;
    for (RecoveryLeftover& leftover : found)
        (leftover.problem.empty() ? sound : damaged).push_back(std::move(leftover));
    if (!store.FolderProblem().empty())
        prompt.ShowRecoveryProblem(&frame, QStringLiteral("Recovery copies are not offered: %1.")
                                               .arg(FromNative(store.FolderProblem())));
    PutAsideDamaged(frame, store, damaged, prompt);

    while (!sound.empty()) {
        QList<RecoveryOffer> offers;
        for (const RecoveryLeftover& leftover : sound) offers.append(OfferOf(leftover));
        const RecoveryAnswer answer = prompt.AskRecovery(&frame, offers);
        if (answer.choice == RecoveryChoice::Later) return;
        const auto index = static_cast<std::size_t>(std::clamp<int>(answer.index, 0, int(sound.size()) - 1));
        const RecoveryLeftover chosen = sound[index];
        sound.erase(sound.begin() + static_cast<std::ptrdiff_t>(index));
        if (answer.choice == RecoveryChoice::Discard) {
            if (Result discarded = store.Discard(chosen); !discarded)
                prompt.ShowRecoveryProblem(&frame, FromNative(discarded.error));
            continue;
        }
        // Claimed first: another program may have offered the same copy, and only one
        // may take it on. From then on the copy is this program's: it is kept up to
        // date (under this program's own name), and removed on save.
        if (Result adopted = store.Adopt(chosen, QDateTime::currentSecsSinceEpoch()); !adopted) {
            prompt.ShowRecoveryProblem(&frame, FromNative(adopted.error));
            continue;
        }
        // The error of a copy that fails to open has been shown; the others are still on offer.
        if (!frame.OpenRecoveredModel(FromNative(chosen.modelPath), FromNative(chosen.info.original))) {
            if (Result released = store.Release(chosen); !released)
                frame.StatusBar()->ShowOutcome(FromNative(released.error));
            continue;
        }
        return;
    }
}

}  // namespace

void OfferRecoveredWork(CMainFrame& frame, CRecoveryStore& store, CRecoveryPrompt& prompt)
{
    Offer(frame, store, prompt, store.FindLeftovers(CheckModelFile));
}

void OfferRecoveredWorkInBackground(CMainFrame& frame, CRecoveryStore& store, CRecoveryPrompt& prompt)
{
    auto listing = std::async(std::launch::async, [&store] { return store.FindLeftovers(CheckModelFile); });
    while (listing.wait_for(std::chrono::milliseconds(20)) != std::future_status::ready)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    Offer(frame, store, prompt, listing.get());
}
