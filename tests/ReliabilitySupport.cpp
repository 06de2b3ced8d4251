// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "ReliabilitySupport.h"
#include "ViewerFixture.h"

#include <QAbstractItemView>

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <exception>
#include <future>
#include <grp.h>
#include <linux/audit.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

ViewState ViewState::Of(const TDM_HorseStatus& table, const QAbstractItemView* list) {
    ViewState state{table, ListTexts(list), {}};
    for (const QModelIndex& index : list->selectionModel()->selectedRows())
        state.SelectedRows << index.row();
    return state;
}

std::string ViewState::DifferenceFrom(const ViewState& other) const {
    std::string differences;
    if (Table != other.Table)
        differences += "the horse table changed; ";
    if (Rows != other.Rows)
        differences += "the list's rows changed (" + std::to_string(other.Rows.size()) + " rows, " +
                       std::to_string(Rows.size()) + " before); ";
    if (SelectedRows != other.SelectedRows)
        differences += "the selection changed; ";
    return differences;
}

namespace {

#if defined(__x86_64__)
constexpr std::uint32_t AuditArch = AUDIT_ARCH_X86_64;
#elif defined(__aarch64__)
constexpr std::uint32_t AuditArch = AUDIT_ARCH_AARCH64;
#else
constexpr std::uint32_t AuditArch = 0;
#endif

#ifdef __NR_fstat
constexpr long FstatCall = __NR_fstat;
#else
constexpr long FstatCall = -1;
#endif
#ifdef __NR_read
constexpr long ReadCall = __NR_read;
#else
constexpr long ReadCall = -1;
#endif

constexpr long SizeCalls[] = {FstatCall, __NR_newfstatat, __NR_statx};
constexpr long ReadCalls[] = {ReadCall, __NR_pread64, __NR_readv, __NR_preadv, __NR_preadv2};

// A filter for the calling thread only that hands the calls above and close to a listener;
// returns the listener's descriptor, or -1.
int StopFileCallsOfThisThread() {
    if (AuditArch == 0 || ::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0)
        return -1;
    std::vector<sock_filter> program = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, arch)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, AuditArch, 1, 0),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
    };
    std::vector<long> stopped = {__NR_close};
    for (const long call : SizeCalls)
        if (call >= 0)
            stopped.push_back(call);
    for (const long call : ReadCalls)
        if (call >= 0)
            stopped.push_back(call);
    // Each test jumps past the remaining tests and the ALLOW to the final USER_NOTIF.
    for (std::size_t n = 0; n < stopped.size(); ++n)
        program.push_back(BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K,
                                   static_cast<std::uint32_t>(stopped[n]),
                                   static_cast<std::uint8_t>(stopped.size() - n), 0));
    program.push_back(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW));
    program.push_back(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_USER_NOTIF));
    const sock_fprog filter{static_cast<unsigned short>(program.size()), program.data()};
    return static_cast<int>(::syscall(__NR_seccomp, SECCOMP_SET_MODE_FILTER,
                                      SECCOMP_FILTER_FLAG_NEW_LISTENER, &filter));
}

FileCall Describe(const seccomp_data& data) {
    const long number = data.nr;
    FileCall::Kind kind = number == __NR_close ? FileCall::Close : FileCall::Size;
    for (const long call : ReadCalls)
        if (call == number)
            kind = FileCall::Read;
    const bool hasOffset =
        number == __NR_pread64 || number == __NR_preadv || number == __NR_preadv2;
    return {kind, number, static_cast<int>(data.args[0]),
            hasOffset ? static_cast<std::int64_t>(data.args[3]) : -1};
}

// Answers each call stopped on `listener` by `onCall` until `finished` holds and no call waits.
// Returns false when the kernel cannot let a stopped call go on (before 5.5): such calls fail
// instead, so that the work ends.
bool AnswerFileCalls(int listener, const FileCallAnswer& onCall,
                     const std::function<bool()>& finished) {
    bool canContinue = true;
    while (true) {
        pollfd waiting{listener, POLLIN, 0};
        const int ready = ::poll(&waiting, 1, 20);
        if (ready > 0 && (waiting.revents & POLLIN) != 0) {
            seccomp_notif request{};
            if (::ioctl(listener, SECCOMP_IOCTL_NOTIF_RECV, &request) != 0)
                continue; // the call went away (its thread was interrupted)
            seccomp_notif_resp response{};
            response.id = request.id;
            response.error = -onCall(Describe(request.data));
            if (response.error == 0)
                response.flags = SECCOMP_USER_NOTIF_FLAG_CONTINUE;
            if (::ioctl(listener, SECCOMP_IOCTL_NOTIF_SEND, &response) != 0 && errno == EINVAL &&
                response.flags != 0) {
                canContinue = false;
                response.flags = 0;
                response.error = -ENOSYS;
                ::ioctl(listener, SECCOMP_IOCTL_NOTIF_SEND, &response);
            }
            continue;
        }
        // Once the work has returned, every call it made was answered.
        if (finished() || (ready > 0 && (waiting.revents & POLLHUP) != 0))
            return canContinue;
    }
}

} // namespace

std::optional<std::vector<FileCall>> WatchFileCalls(const std::function<void()>& work,
                                                    const FileCallAnswer& onCall) {
    std::promise<int> listenerMade;
    std::future<int> listenerFuture = listenerMade.get_future();
    std::atomic<bool> done = false;
    std::exception_ptr failure;
    std::thread worker([&] {
        const int listener = StopFileCallsOfThisThread();
        listenerMade.set_value(listener);
        if (listener >= 0) {
            try {
                work();
            } catch (...) {
                failure = std::current_exception();
            }
        }
        done = true;
    });
    const int listener = listenerFuture.get();
    if (listener < 0) {
        worker.join();
        return std::nullopt;
    }

    std::vector<FileCall> calls;
    std::exception_ptr callbackFailure;
    const bool canContinue = AnswerFileCalls(
        listener,
        [&](const FileCall& call) {
            calls.push_back(call);
            try {
                return callbackFailure ? 0 : onCall(call);
            } catch (...) {
                callbackFailure = std::current_exception();
                return 0;
            }
        },
        [&] { return done.load(); });
    worker.join();
    ::close(listener);
    if (!canContinue)
        return std::nullopt;
    if (failure)
        std::rethrow_exception(failure);
    if (callbackFailure)
        std::rethrow_exception(callbackFailure);
    return calls;
}

bool WatchThisThreadForGood(FileCallAnswer onCall) {
    std::promise<int> listenerMade;
    // Made before the watch, which a thread inherits from the one that makes it.
    std::thread([onCall = std::move(onCall), listener = listenerMade.get_future()]() mutable {
        const int fd = listener.get();
        if (fd >= 0)
            AnswerFileCalls(fd, onCall, [] { return false; });
    }).detach();
    const int listener = StopFileCallsOfThisThread();
    listenerMade.set_value(listener);
    return listener >= 0;
}
