#include "platform/zip_archive.h"

#include <minizip/zip.h>

#include <climits>

namespace tolvane {
namespace {

// The archive's file functions over a stream that is already open: minizip "opens" the stream
// handed to it as its name and leaves closing it to the owner.
voidpf open_stream(voidpf, const void* stream, int) { return const_cast<void*>(stream); }

uLong read_stream(voidpf, voidpf stream, void* buffer, uLong size) {
  return static_cast<uLong>(std::fread(buffer, 1, size, static_cast<std::FILE*>(stream)));
}

uLong write_stream(voidpf, voidpf stream, const void* buffer, uLong size) {
  return static_cast<uLong>(std::fwrite(buffer, 1, size, static_cast<std::FILE*>(stream)));
}

ZPOS64_T tell_stream(voidpf, voidpf stream) {
  const off_t at = ::ftello(static_cast<std::FILE*>(stream));
  return at < 0 ? static_cast<ZPOS64_T>(-1) : static_cast<ZPOS64_T>(at);
}

long seek_stream(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
  int whence = SEEK_SET;
  if (origin == ZLIB_FILEFUNC_SEEK_CUR) whence = SEEK_CUR;
  if (origin == ZLIB_FILEFUNC_SEEK_END) whence = SEEK_END;
  return ::fseeko(static_cast<std::FILE*>(stream), static_cast<off_t>(offset), whence) == 0 ? 0
                                                                                            : -1;
}

int close_stream(voidpf, voidpf) { return 0; }

int stream_error(voidpf, voidpf stream) { return std::ferror(static_cast<std::FILE*>(stream)); }

// General purpose flag bit 11: the entry's name is UTF-8.
constexpr uLong kUtf8Names = 1u << 11;
// "Version made by": MS-DOS attributes (none), format version 2.0.
constexpr uLong kMadeBy = 20;
// No entry grows to 4 GiB; the local headers carry no 64-bit sizes.
constexpr std::uint64_t kEntryLimit = 0xFFFFFFFFu;

}  // namespace

void ZipArchive::Closer::operator()(void* handle) const {
  zipClose(static_cast<zipFile>(handle), nullptr);
}

ZipArchive::ZipArchive(std::FILE* stream) {
  const std::time_t now = std::time(nullptr);
  localtime_r(&now, &opened_at_);
  zlib_filefunc64_def functions{};
  functions.zopen64_file = open_stream;
  functions.zread_file = read_stream;
  functions.zwrite_file = write_stream;
  functions.ztell64_file = tell_stream;
  functions.zseek64_file = seek_stream;
  functions.zclose_file = close_stream;
  functions.zerror_file = stream_error;
  if (stream) handle_.reset(zipOpen2_64(stream, APPEND_STATUS_CREATE, nullptr, &functions));
}

bool ZipArchive::begin_entry(const std::string& name, Method method) {
  if (!ok() || !end_entry()) return false;
  zip_fileinfo info{};
  info.tmz_date.tm_sec = static_cast<uInt>(opened_at_.tm_sec);
  info.tmz_date.tm_min = static_cast<uInt>(opened_at_.tm_min);
  info.tmz_date.tm_hour = static_cast<uInt>(opened_at_.tm_hour);
  info.tmz_date.tm_mday = static_cast<uInt>(opened_at_.tm_mday);
  info.tmz_date.tm_mon = static_cast<uInt>(opened_at_.tm_mon);
  info.tmz_date.tm_year = static_cast<uInt>(opened_at_.tm_year + 1900);
  const bool deflated = method == Method::kDeflated;
  const int status = zipOpenNewFileInZip4_64(
      handle_.get(), name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
      deflated ? Z_DEFLATED : 0, deflated ? Z_BEST_SPEED : 0, 0, -MAX_WBITS, DEF_MEM_LEVEL,
      Z_DEFAULT_STRATEGY, nullptr, 0, kMadeBy, kUtf8Names, 0);
  if (status != ZIP_OK) {
    failed_ = true;
    return false;
  }
  entry_open_ = true;
  entry_size_ = 0;
  return true;
}

bool ZipArchive::write(std::string_view bytes) {
  if (!ok() || !entry_open_) return false;
  entry_size_ += bytes.size();
  if (entry_size_ >= kEntryLimit) {
    failed_ = true;
    return false;
  }
  while (!bytes.empty()) {
    const std::size_t piece = std::min<std::size_t>(bytes.size(), INT_MAX);
    if (zipWriteInFileInZip(handle_.get(), bytes.data(), static_cast<unsigned>(piece)) != ZIP_OK) {
      failed_ = true;
      return false;
    }
    bytes.remove_prefix(piece);
  }
  return true;
}

bool ZipArchive::end_entry() {
  if (!ok()) return false;
  if (!entry_open_) return true;
  entry_open_ = false;
  if (zipCloseFileInZip(handle_.get()) != ZIP_OK) failed_ = true;
  return !failed_;
}

bool ZipArchive::finish() {
  if (!end_entry()) return false;
  const int status = zipClose(static_cast<zipFile>(handle_.release()), nullptr);
  if (status != ZIP_OK) failed_ = true;
  return !failed_;
}

}  // namespace tolvane
