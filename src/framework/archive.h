// The archive: 4-byte little-endian ints and IEEE floats, stored to or loaded from memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

// Thrown by a loading archive that runs out of bytes, and by a Serialize that finds
// the bytes make no valid model; what() is the reason, without the file name.
class CArchiveException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class CArchive {
public:
    // A storing archive that collects the bytes in memory.
    CArchive() = default;
    // A loading archive over the given bytes; they must outlive the archive.
    explicit CArchive(std::span<const unsigned char> bytes) : m_in(bytes), m_loading(true) {}
    ~CArchive();
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    bool IsStoring() const { return !m_loading; }
    bool IsLoading() const { return m_loading; }

    CArchive& operator<<(std::int32_t value);
    CArchive& operator<<(float value);
    CArchive& operator>>(std::int32_t& value);
    CArchive& operator>>(float& value);
    // Whole arrays at once, the same bytes as value by value, at the speed of a copy.
    void Store(std::span<const std::int32_t> values) { StoreWords(values.data(), values.size()); }
    void Store(std::span<const float> values) { StoreWords(values.data(), values.size()); }
    void Load(std::span<std::int32_t> values) { LoadWords(values.data(), values.size()); }
    void Load(std::span<float> values) { LoadWords(values.data(), values.size()); }

    // Loading: how many bytes have been read, and how many the archive holds in all.
    std::size_t Position() const { return m_pos; }
    std::size_t Size() const { return m_in.size(); }
    std::size_t Remaining() const { return m_in.size() - m_pos; }

    // Loading: every byte the archive holds, for a reader that looks ahead.
    std::span<const unsigned char> Input() const { return m_in; }

    // Storing: a check of what is being stored (it throws CArchiveException to refuse it),
    // run on a thread of its own beside the storing and the writing of the bytes. Whatever
    // it reads must stay as it is until the check has been awaited.
    void CheckAside(std::function<void()> check);
    // The aside check's refusal, "" when it passed (or there was none): waits for it.
    std::string AwaitCheck();

    // Storing: the bytes written so far, once the aside check has passed (or throws its refusal).
    const std::vector<unsigned char>& Bytes();
    // Storing: the bytes as pieces in order, for a writer that awaits the check itself
    // before it keeps them. An array of a megabyte or more is not copied: its piece is the
    // stored array itself, which must stay as it is until the pieces are written.
    std::vector<std::span<const unsigned char>> PiecesBeforeCheck() const;

private:
    std::uint32_t ReadWord();
    void WriteWord(std::uint32_t word);
    // count 4-byte values (int32 or float) at p.
    void StoreWords(const void* p, std::size_t count);
    void LoadWords(void* p, std::size_t count);

    std::span<const unsigned char> m_in;
    std::size_t m_pos = 0;
    std::vector<unsigned char> m_out;
    // Stored arrays kept where they are, each to come after the first `at` bytes of m_out.
    struct Borrowed {
        std::size_t at;
        std::span<const unsigned char> bytes;
    };
    std::vector<Borrowed> m_borrowed;
    bool m_loading = false;
    std::thread m_check;
    std::string m_refusal;
};
