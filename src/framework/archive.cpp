// The archive's 4-byte words: little-endian on every host, and a clear error past the end.
#include "framework/archive.h"

#include <bit>
#include <cstring>
#include <new>
#include <system_error>

CArchive::~CArchive()
{
    (void)AwaitCheck();
}

void CArchive::CheckAside(std::function<void()> check)
{
    (void)AwaitCheck();
    auto run = [this, check = std::move(check)] {
        try {
            check();
        } catch (const CArchiveException& refused) {
            m_refusal = refused.what();
        } catch (const std::bad_alloc&) {
            m_refusal = "not enough memory";
        } catch (const std::exception& failed) {
            m_refusal = failed.what();
        } catch (...) {
            m_refusal = "the check of the model failed";
        }
    };
    try {
        m_check = std::thread(run);
    } catch (const std::system_error&) {
        run();  // no thread to be had: the check runs here, before the bytes are written
    }
}

std::string CArchive::AwaitCheck()
{
    if (m_check.joinable()) m_check.join();
    return m_refusal;
}

const std::vector<unsigned char>& CArchive::Bytes()
{
    if (std::string refusal = AwaitCheck(); !refusal.empty()) throw CArchiveException(refusal);
    if (!m_borrowed.empty()) {
        const auto pieces = PiecesBeforeCheck();
        std::size_t size = 0;
        for (const auto& piece : pieces) size += piece.size();
        std::vector<unsigned char> whole;
        whole.reserve(size);
        for (const auto& piece : pieces) whole.insert(whole.end(), piece.begin(), piece.end());
        m_out = std::move(whole);
        m_borrowed.clear();
    }
    return m_out;
}

std::vector<std::span<const unsigned char>> CArchive::PiecesBeforeCheck() const
{
    std::vector<std::span<const unsigned char>> pieces;
    std::size_t done = 0;
    for (const Borrowed& b : m_borrowed) {
        if (b.at > done) pieces.emplace_back(m_out.data() + done, b.at - done);
        pieces.push_back(b.bytes);
        done = b.at;
    }
    if (m_out.size() > done) pieces.emplace_back(m_out.data() + done, m_out.size() - done);
    return pieces;
}

std::uint32_t CArchive::ReadWord()
{
    if (!m_loading) throw std::logic_error("read from a storing archive");
    if (Remaining() < 4)
        throw CArchiveException("file ends after " + std::to_string(m_in.size()) + " of " +
                                std::to_string(m_pos + 4) + " bytes");
    const unsigned char* p = m_in.data() + m_pos;
    m_pos += 4;
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

void CArchive::WriteWord(std::uint32_t word)
{
    if (m_loading) throw std::logic_error("write to a loading archive");
    for (int shift = 0; shift < 32; shift += 8) m_out.push_back(static_cast<unsigned char>(word >> shift));
}

CArchive& CArchive::operator<<(std::int32_t value)
{
    WriteWord(static_cast<std::uint32_t>(value));
    return *this;
}

CArchive& CArchive::operator<<(float value)
{
    WriteWord(std::bit_cast<std::uint32_t>(value));
    return *this;
}

CArchive& CArchive::operator>>(std::int32_t& value)
{
    value = static_cast<std::int32_t>(ReadWord());
    return *this;
}

CArchive& CArchive::operator>>(float& value)
{
    value = std::bit_cast<float>(ReadWord());
    return *this;
}

void CArchive::StoreWords(const void* p, std::size_t count)
{
    if (m_loading) throw std::logic_error("write to a loading archive");
    const auto* words = static_cast<const unsigned char*>(p);
    if constexpr (std::endian::native == std::endian::little) {
        // A big array is written from where it is: copying it would cost as much fresh
        // memory as the array, for nothing.
        constexpr std::size_t kBorrowFrom = std::size_t(1) << 20;
        if (4 * count >= kBorrowFrom)
            m_borrowed.push_back({m_out.size(), std::span(words, 4 * count)});
        else
            m_out.insert(m_out.end(), words, words + 4 * count);
    } else {
        for (std::size_t k = 0; k < count; ++k) {
            std::uint32_t word;
            std::memcpy(&word, words + 4 * k, 4);
            WriteWord(word);
        }
    }
}

void CArchive::LoadWords(void* p, std::size_t count)
{
    if (!m_loading) throw std::logic_error("read from a storing archive");
    if (count > Remaining() / 4)
        throw CArchiveException("file ends after " + std::to_string(m_in.size()) + " of " +
                                std::to_string(m_pos + 4 * count) + " bytes");
    auto* words = static_cast<unsigned char*>(p);
    if constexpr (std::endian::native == std::endian::little) {
        if (count > 0) std::memcpy(words, m_in.data() + m_pos, 4 * count);
        m_pos += 4 * count;
    } else {
        for (std::size_t k = 0; k < count; ++k) {
            const std::uint32_t word = ReadWord();
            std::memcpy(words + 4 * k, &word, 4);
        }
    }
}
