#include "json/windows/script_host_process.h"

#include <algorithm>
#include <atomic>
#include <utility>
#include <vector>

namespace quorvant {
namespace {

using script_protocol::ReplyHeader;
using script_protocol::RequestHeader;

// How long a new host may take to start and create its engine.
constexpr ULONGLONG kStartLimitMilliseconds = 30000;
constexpr DWORD kPipeBufferSize = 64 * 1024;
// An engine that asks for more memory than this is ended like one that overruns its time.
constexpr SIZE_T kHostMemoryLimit = SIZE_T{1} << 30;
constexpr DWORD kLargestTransfer = 1u << 28;
constexpr DWORD kEndLimitMilliseconds = 10000;

// Owns one kernel handle.
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(HANDLE handle)
      : handle_(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}
  ~UniqueHandle() {
    if (handle_ != nullptr) CloseHandle(handle_);
  }
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  HANDLE get() const { return handle_; }
  HANDLE* out() { return &handle_; }
  HANDLE release() { return std::exchange(handle_, nullptr); }
  void reset() {
    if (handle_ != nullptr) CloseHandle(std::exchange(handle_, nullptr));
  }
  explicit operator bool() const { return handle_ != nullptr; }

 private:
  HANDLE handle_ = nullptr;
};

// Every host joins one job, which ends them all when the program ends however it ends, ends a
// host that crashes instead of reporting it, and bounds a host's memory.
HANDLE HostJob() {
  static const HANDLE job = [] {
    const HANDLE created = CreateJobObjectW(nullptr, nullptr);
    if (created == nullptr) return created;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE |
                                              JOB_OBJECT_LIMIT_DIE_ON_UNHANDLED_EXCEPTION |
                                              JOB_OBJECT_LIMIT_PROCESS_MEMORY;
    limits.ProcessMemoryLimit = kHostMemoryLimit;
    if (!SetInformationJobObject(created, JobObjectExtendedLimitInformation, &limits,
                                 sizeof limits)) {
      // A system that cannot bound memory still ends the hosts with the program.
      limits.BasicLimitInformation.LimitFlags &= ~JOB_OBJECT_LIMIT_PROCESS_MEMORY;
      SetInformationJobObject(created, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    }
    return created;
  }();
  return job;
}

std::wstring ExecutablePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

// The pipe that carries replies, read with a deadline: a named pipe, the only kind that can be
// read asynchronously, under a name no one else uses.
bool CreateReplyPipe(UniqueHandle& parentEnd, UniqueHandle& childEnd) {
  static std::atomic<unsigned> serial{0};
  // The process number alone could repeat a name that a host of an ended process still holds.
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  const std::wstring name = L"\\\\.\\pipe\\quorvant-script-" +
                            std::to_wstring(GetCurrentProcessId()) + L"-" +
                            std::to_wstring(now.QuadPart) + L"-" + std::to_wstring(++serial);
  *parentEnd.out() = CreateNamedPipeW(
      name.c_str(), PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
      PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1, 0,
      kPipeBufferSize, 0, nullptr);
  if (parentEnd.get() == INVALID_HANDLE_VALUE) *parentEnd.out() = nullptr;
  if (!parentEnd) return false;
  SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
  *childEnd.out() =
      CreateFileW(name.c_str(), GENERIC_WRITE, 0, &inheritable, OPEN_EXISTING, 0, nullptr);
  if (childEnd.get() == INVALID_HANDLE_VALUE) *childEnd.out() = nullptr;
  return static_cast<bool>(childEnd);
}

bool CreateRequestPipe(UniqueHandle& parentEnd, UniqueHandle& childEnd) {
  SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
  if (!CreatePipe(childEnd.out(), parentEnd.out(), &inheritable, kPipeBufferSize)) return false;
  return SetHandleInformation(parentEnd.get(), HANDLE_FLAG_INHERIT, 0) != FALSE;
}

// Starts the host suspended with only its two pipe ends inherited, puts it into the job, then
// lets it run.
UniqueHandle Launch(HANDLE input, HANDLE output) {
  const std::wstring path = ExecutablePath();
  if (path.empty()) return {};
  std::wstring commandLine = L"\"" + path + L"\" " + script_protocol::kHostSwitch;

  SIZE_T attributeSize = 0;
  InitializeProcThreadAttributeList(nullptr, 1, 0, &attributeSize);
  std::vector<char> attributeStorage(attributeSize);
  auto* attributes = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(attributeStorage.data());
  HANDLE inherited[] = {input, output};
  const bool listed = attributeSize > 0 &&
                      InitializeProcThreadAttributeList(attributes, 1, 0, &attributeSize) &&
                      UpdateProcThreadAttribute(attributes, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST,
                                                inherited, sizeof inherited, nullptr, nullptr);

  STARTUPINFOEXW startup{};
  startup.StartupInfo.cb = sizeof startup;
  startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
  startup.StartupInfo.hStdInput = input;
  startup.StartupInfo.hStdOutput = output;
  startup.lpAttributeList = listed ? attributes : nullptr;
  PROCESS_INFORMATION created{};
  const DWORD flags =
      CREATE_NO_WINDOW | CREATE_SUSPENDED | (listed ? EXTENDED_STARTUPINFO_PRESENT : 0);
  const BOOL started = CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                                      flags, nullptr, nullptr, &startup.StartupInfo, &created);
  if (listed) DeleteProcThreadAttributeList(attributes);
  if (!started) return {};
  UniqueHandle process(created.hProcess);
  UniqueHandle thread(created.hThread);
  if (const HANDLE job = HostJob()) AssignProcessToJobObject(job, process.get());
  ResumeThread(thread.get());
  return process;
}

DWORD MillisecondsUntil(ScriptHostProcess::Deadline deadline) {
  const ULONGLONG now = GetTickCount64();
  if (deadline <= now) return 0;
  return deadline - now >= INFINITE ? INFINITE - 1 : static_cast<DWORD>(deadline - now);
}

}  // namespace

std::unique_ptr<ScriptHostProcess> ScriptHostProcess::Start() {
  UniqueHandle requestParent, requestChild, replyParent, replyChild;
  if (!CreateRequestPipe(requestParent, requestChild) ||
      !CreateReplyPipe(replyParent, replyChild)) {
    return nullptr;
  }
  UniqueHandle replyReady(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!replyReady) return nullptr;
  UniqueHandle process = Launch(requestChild.get(), replyChild.get());
  if (!process) return nullptr;
  std::unique_ptr<ScriptHostProcess> host(new ScriptHostProcess(
      process.release(), requestParent.release(), replyParent.release(), replyReady.release()));
  // The host's ends close with this process's copies, so the pipes break when the host ends.
  requestChild.reset();
  replyChild.reset();
  const std::optional<Reply> hello = host->ReadReply(GetTickCount64() + kStartLimitMilliseconds);
  if (!hello || !hello->ok) return nullptr;
  return host;
}

ScriptHostProcess::ScriptHostProcess(HANDLE process, HANDLE requests, HANDLE replies,
                                     HANDLE replyReady)
    : process_(process), requests_(requests), replies_(replies), replyReady_(replyReady) {}

ScriptHostProcess::~ScriptHostProcess() {
  CloseHandle(requests_);
  CloseHandle(replies_);
  CloseHandle(replyReady_);
  CloseHandle(process_);
}

std::optional<ScriptHostProcess::Reply> ScriptHostProcess::Call(
    script_protocol::Operation operation, std::uint32_t kind, const std::wstring& code,
    Deadline deadline) {
  if (ended_) return std::nullopt;
  const RequestHeader header{operation, kind, static_cast<std::uint32_t>(code.size())};
  const auto* bytes = reinterpret_cast<const char*>(code.data());
  std::size_t left = code.size() * sizeof(wchar_t);
  DWORD written = 0;
  bool sent = WriteFile(requests_, &header, sizeof header, &written, nullptr) != FALSE;
  while (sent && left > 0) {
    const DWORD chunk = left > kLargestTransfer ? kLargestTransfer : static_cast<DWORD>(left);
    sent = WriteFile(requests_, bytes, chunk, &written, nullptr) != FALSE && written > 0;
    bytes += written;
    left -= written;
  }
  if (!sent) {
    End();
    return std::nullopt;
  }
  return ReadReply(deadline);
}

bool ScriptHostProcess::alive() const {
  return !ended_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

bool ScriptHostProcess::Renew() {
  const std::optional<Reply> reply =
      Call(script_protocol::Operation::kRenew, 0, {}, GetTickCount64() + kStartLimitMilliseconds);
  return reply && reply->ok;
}

std::optional<ScriptHostProcess::Reply> ScriptHostProcess::ReadReply(Deadline deadline) {
  ReplyHeader header;
  if (!ReadExact(&header, sizeof header, deadline)) return std::nullopt;
  Reply reply{header.ok != 0, header.truth != 0, header.number, {}};
  reply.text.resize(header.units);
  // The text follows at once; the deadline was for the script, not for the pipe.
  if (!ReadExact(reply.text.data(), reply.text.size() * sizeof(wchar_t),
                 std::max(deadline, GetTickCount64() + kStartLimitMilliseconds))) {
    return std::nullopt;
  }
  return reply;
}

// A host that ends, by its own crash or ours, breaks the pipe and so ends a pending read too.
bool ScriptHostProcess::ReadExact(void* buffer, std::size_t size, Deadline deadline) {
  auto* bytes = static_cast<char*>(buffer);
  while (size > 0 && !ended_) {
    OVERLAPPED overlapped{};
    overlapped.hEvent = replyReady_;
    ResetEvent(replyReady_);
    const DWORD chunk = size > kLargestTransfer ? kLargestTransfer : static_cast<DWORD>(size);
    if (!ReadFile(replies_, bytes, chunk, nullptr, &overlapped) &&
        GetLastError() != ERROR_IO_PENDING) {
      End();
      return false;
    }
    if (WaitForSingleObject(replyReady_, MillisecondsUntil(deadline)) != WAIT_OBJECT_0) {
      CancelIoEx(replies_, &overlapped);
      DWORD ignored = 0;
      GetOverlappedResult(replies_, &overlapped, &ignored, TRUE);
      End();
      return false;
    }
    DWORD read = 0;
    if (!GetOverlappedResult(replies_, &overlapped, &read, FALSE) || read == 0) {
      End();
      return false;
    }
    bytes += read;
    size -= read;
  }
  return size == 0;
}

void ScriptHostProcess::End() {
  if (ended_) return;
  ended_ = true;
  TerminateProcess(process_, 1);
  WaitForSingleObject(process_, kEndLimitMilliseconds);
}

}  // namespace quorvant
