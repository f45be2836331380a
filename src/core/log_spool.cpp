#include "core/log_spool.h"

#include <algorithm>
#include <optional>
#include <type_traits>
#include <utility>

namespace tolvane {
namespace {

static_assert(std::is_trivially_copyable_v<GpxFix>, "fixes are spooled as their bytes");

// Fixes written or read at a time: 64 KB or so.
constexpr std::size_t kBlockFixes = 65536 / sizeof(GpxFix);

}  // namespace

std::unique_ptr<LogSpool> LogSpool::create() {
  std::optional<ScratchFile> file = ScratchFile::create();
  if (!file) return nullptr;
  return std::make_unique<LogSpool>(std::move(*file));
}

LogSpool::LogSpool(ScratchFile file) : file_(std::move(file)) { buffer_.reserve(kBlockFixes); }

bool LogSpool::write_buffer() {
  if (!failed_ && !buffer_.empty()) {
    failed_ = !file_.append(buffer_.data(), buffer_.size() * sizeof(GpxFix));
    if (!failed_) written_ += buffer_.size();
  }
  buffer_.clear();
  return !failed_;
}

bool LogSpool::append(const GpxFix& fix) {
  if (failed_) return false;
  buffer_.push_back(fix);
  return buffer_.size() < kBlockFixes || write_buffer();
}

bool LogSpool::finish() { return write_buffer(); }

void LogSpools::add(std::filesystem::path log, std::unique_ptr<LogSpool> spool) {
  spools_.emplace_back(std::move(log), std::move(spool));
}

const LogSpool* LogSpools::find(const std::filesystem::path& log) const {
  // A log named twice was spooled twice, alike: either spool serves.
  for (const auto& [path, spool] : spools_) {
    if (path == log) return spool.get();
  }
  return nullptr;
}

SpoolReader::SpoolReader(const LogSpool& spool)
    : spool_(spool), buffer_(std::make_unique_for_overwrite<GpxFix[]>(kBlockFixes)) {}

bool SpoolReader::refill() {
  const std::uint64_t left = spool_.size() - read_;
  if (left == 0) return false;
  const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(left, kBlockFixes));
  if (!spool_.file().read_at(buffer_.get(), want * sizeof(GpxFix), read_ * sizeof(GpxFix))) {
    return false;
  }
  read_ += want;
  next_ = 0;
  end_ = want;
  return true;
}

}  // namespace tolvane
