// The folder of recovery copies: this program's own copy of its unsaved model, and the
// copies that programs no longer running left behind.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "framework/process_identity.h"
#include "framework/recovery_info.h"
#include "framework/result.h"

// A copy is two files with the same stem: STEM.pdm, an ordinary model file, and
// STEM.info, its description (recovery_info.h). The stem is the process id, with a
// suffix when a leftover of an earlier process already has that number.
struct RecoveryLeftover {
    std::string stem;
    std::string modelPath, infoPath;
    RecoveryInfo info;     // meaningful only when the description could be read
    std::string problem;   // why the copy cannot be offered; empty for a sound one
};

// Whether a file holds a valid model, and if not, why not.
using ModelFileCheck = std::function<Result(const std::string& path)>;

class CRecoveryStore {
public:
    explicit CRecoveryStore(std::string folder, ProcessIdentity self = CurrentProcess());

    const std::string& Folder() const { return m_folder; }
    // Where damaged copies are put aside.
    std::string DamagedFolder() const { return m_folder + "/damaged"; }

    // Writes this program's copy: the model bytes and the description, each atomically.
    // The first time the description goes first, so that no copy is ever found without
    // one; later the model goes first and the description's time follows it.
    Result Write(std::span<const unsigned char> model, const std::string& original, std::int64_t time);
    // Removes this program's copy, if it has one.
    Result Remove();
    bool HasCopy() const { return !m_stem.empty() || !m_adopted.empty(); }
    // This program's copy: its own, or the claimed leftover until its own is written.
    std::string ModelPath() const { return PathOf(m_stem.empty() ? m_adopted : m_stem, ".pdm"); }
    std::string InfoPath() const { return PathOf(m_stem.empty() ? m_adopted : m_stem, ".info"); }

    // The copies of programs that no longer run, newest first: sound ones, and damaged
    // ones with their problem (check judges the model file). Live programs' copies are
    // left alone; a description whose model file is gone (nothing to recover) is removed.
    // Only this user's own files count, and only in a folder no one else may write to:
    // otherwise nothing is found, and FolderProblem() says why.
    std::vector<RecoveryLeftover> FindLeftovers(const ModelFileCheck& check);
    const std::string& FolderProblem() const { return m_folderProblem; }
    // Deletes a leftover.
    Result Discard(const RecoveryLeftover& leftover);
    // Moves a damaged leftover into DamagedFolder(), where it is neither offered nor lost.
    Result PutAside(const RecoveryLeftover& leftover);
    // Claims a leftover the user chose to recover, exclusively: under a lock on the copy,
    // its description is read again and, if no other program has claimed it meanwhile,
    // made to name this program, so no other start offers it while the model is open.
    // The next Write goes under this program's own name and then removes the claimed
    // copy. Fails with kRecoveredElsewhere when another program was first.
    Result Adopt(const RecoveryLeftover& leftover, std::int64_t time);
    // Gives a claimed leftover back (its model could not be opened after all).
    Result Release(const RecoveryLeftover& leftover);

private:
    std::string PathOf(const std::string& stem, const char* extension) const;
    std::string FreeStem() const;
    Result RemoveAdopted();

    std::string m_folder;
    ProcessIdentity m_self;
    std::string m_stem;     // this program's copy; empty while it has none
    std::string m_adopted;  // a claimed leftover not yet replaced by a copy of our own
    std::string m_folderProblem;
};

// The start of Adopt's failure when another program recovered the copy first.
inline constexpr const char* kRecoveredElsewhere = "This copy was recovered by another program";
