#include "platform/windowdirectory.h"

#include "platform/errors.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include <dirent.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace platform {

namespace {

// One request per connection, in one SOCK_SEQPACKET packet; the answer is one packet too.
// Both ends are builds of this library on the same machine, so the layout is the native one;
// the magic number changes whenever the layout does.
inline constexpr uint32_t kProtocolMagic = 0x4B575731;  // "KWW1"

enum class RequestKind : uint32_t {
    Query = 1,    // answer with title, class and process id
    Message = 2,  // hand the message to the owner, answer with its result
};

struct RequestPacket {
    uint32_t magic = kProtocolMagic;
    RequestKind kind = RequestKind::Query;
    uint32_t message = 0;
    uint32_t reserved = 0;
    uint64_t wParam = 0;
    int64_t lParam = 0;
};

// Followed by titleLength bytes of title and classLength bytes of class name.
struct QueryAnswerHeader {
    uint32_t magic = kProtocolMagic;
    int32_t processId = 0;
    uint32_t titleLength = 0;
    uint32_t classLength = 0;
};

struct MessageAnswer {
    uint32_t magic = kProtocolMagic;
    uint32_t reserved = 0;
    int64_t result = 0;
};

// Titles and class names longer than this are cut when published; answers longer than the
// resulting packet are refused as malformed.
inline constexpr std::size_t kMaxNameBytes = 1024;
inline constexpr std::size_t kMaxQueryAnswerBytes = sizeof(QueryAnswerHeader) + 2 * kMaxNameBytes;

// How long a query or the first packet of a connection may take; a process that is stopped or
// hung must not stall every enumeration.
inline constexpr int kQueryTimeoutMs = 2000;
inline constexpr int kListenBacklog = 16;

class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    UniqueFd(UniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept
    {
        std::swap(fd_, other.fd_);
        return *this;
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd()
    {
        if (fd_ >= 0) ::close(fd_);
    }
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

bool FailWithErrno()
{
    SetLastError(ErrorFromErrno(errno));
    return false;
}

std::optional<sockaddr_un> SocketAddress(const std::string& path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) {
        SetLastError(kErrorFilenameExcedRange);
        return std::nullopt;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return address;
}

enum class DirectoryState { Usable, Missing, Unsafe };

// A directory that another user owns or can write into could hold sockets planted by that user.
DirectoryState InspectDirectory(const std::string& path)
{
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
        FailWithErrno();
        return errno == ENOENT ? DirectoryState::Missing : DirectoryState::Unsafe;
    }
    if (!S_ISDIR(info.st_mode) || info.st_uid != ::geteuid()) {
        SetLastError(kErrorAccessDenied);
        return DirectoryState::Unsafe;
    }
    if ((info.st_mode & 077) != 0 && ::chmod(path.c_str(), 0700) != 0) {
        FailWithErrno();
        return DirectoryState::Unsafe;
    }
    return DirectoryState::Usable;
}

bool EnsureDirectory(const std::string& path)
{
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return FailWithErrno();
    return InspectDirectory(path) == DirectoryState::Usable;
}

bool PeerIsSameUser(int fd)
{
    ucred credentials{};
    socklen_t length = sizeof credentials;
    if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &length) != 0) return FailWithErrno();
    if (credentials.uid != ::geteuid()) {
        SetLastError(kErrorAccessDenied);
        return false;
    }
    return true;
}

enum class WaitResult { Readable, TimedOut, Woken };

// Waits until fd is readable, the wake descriptor fires, or the timeout (-1: none) passes.
WaitResult WaitReadable(int fd, int wakeFd, int timeoutMs)
{
    pollfd fds[2] = {{fd, POLLIN, 0}, {wakeFd, POLLIN, 0}};
    for (;;) {
        const int ready = ::poll(fds, 2, timeoutMs);
        if (ready < 0 && errno == EINTR) continue;
        if (ready < 0 || fds[1].revents != 0) return WaitResult::Woken;
        if (ready == 0) return WaitResult::TimedOut;
        return WaitResult::Readable;
    }
}

ssize_t ReceivePacket(int fd, void* buffer, std::size_t size)
{
    ssize_t received;
    do {
        received = ::recv(fd, buffer, size, MSG_TRUNC);
    } while (received < 0 && errno == EINTR);
    return received;
}

bool SendPacket(int fd, const void* data, std::size_t size)
{
    ssize_t sent;
    do {
        sent = ::send(fd, data, size, MSG_NOSIGNAL);
    } while (sent < 0 && errno == EINTR);
    return sent == static_cast<ssize_t>(size);
}

enum class ConnectResult { Connected, Stale, Failed };

// With a receive timeout of -1 the connection waits for its answer as long as the peer lives.
ConnectResult Connect(const std::string& path, int receiveTimeoutMs, UniqueFd& connection)
{
    const auto address = SocketAddress(path);
    if (!address) return ConnectResult::Failed;
    UniqueFd fd(::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0));
    if (!fd.valid()) {
        FailWithErrno();
        return ConnectResult::Failed;
    }
    // Bounds a connect to a listener whose backlog is full.
    const timeval sendTimeout{kQueryTimeoutMs / 1000, (kQueryTimeoutMs % 1000) * 1000};
    ::setsockopt(fd.get(), SOL_SOCKET, SO_SNDTIMEO, &sendTimeout, sizeof sendTimeout);
    if (receiveTimeoutMs >= 0) {
        const timeval receiveTimeout{receiveTimeoutMs / 1000, (receiveTimeoutMs % 1000) * 1000};
        ::setsockopt(fd.get(), SOL_SOCKET, SO_RCVTIMEO, &receiveTimeout, sizeof receiveTimeout);
    }
    if (::connect(fd.get(), reinterpret_cast<const sockaddr*>(&*address), sizeof *address) != 0) {
        const bool stale = errno == ECONNREFUSED;
        FailWithErrno();
        return stale ? ConnectResult::Stale : ConnectResult::Failed;
    }
    if (!PeerIsSameUser(fd.get())) return ConnectResult::Failed;
    connection = std::move(fd);
    return ConnectResult::Connected;
}

enum class QueryResult { Answered, Stale, Failed };

QueryResult Query(const std::string& path, TopLevelWindow& window)
{
    UniqueFd connection;
    const ConnectResult connected = Connect(path, kQueryTimeoutMs, connection);
    if (connected != ConnectResult::Connected) {
        return connected == ConnectResult::Stale ? QueryResult::Stale : QueryResult::Failed;
    }
    const RequestPacket request{kProtocolMagic, RequestKind::Query};
    if (!SendPacket(connection.get(), &request, sizeof request)) return QueryResult::Failed;

    std::vector<char> answer(kMaxQueryAnswerBytes);
    const ssize_t received = ReceivePacket(connection.get(), answer.data(), answer.size());
    if (received < static_cast<ssize_t>(sizeof(QueryAnswerHeader)) ||
        received > static_cast<ssize_t>(answer.size())) {
        return QueryResult::Failed;
    }
    QueryAnswerHeader header;
    std::memcpy(&header, answer.data(), sizeof header);
    const std::size_t namesLength = static_cast<std::size_t>(received) - sizeof header;
    if (header.magic != kProtocolMagic || header.titleLength > namesLength ||
        header.classLength != namesLength - header.titleLength) {
        return QueryResult::Failed;
    }
    const char* names = answer.data() + sizeof header;
    window.title.assign(names, header.titleLength);
    window.className.assign(names + header.titleLength, header.classLength);
    window.processId = header.processId;
    window.address = path;
    return QueryResult::Answered;
}

// Removes the socket of an ended process, unless a new one has taken its name meanwhile.
void RemoveStaleEntry(const std::string& path, ino_t inode)
{
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0 && info.st_ino == inode) ::unlink(path.c_str());
}

std::vector<std::string> ListEntryNames(const std::string& directory)
{
    std::vector<std::string> names;
    DIR* listing = ::opendir(directory.c_str());
    if (!listing) return names;
    while (const dirent* entry = ::readdir(listing)) {
        // A leading dot marks "." and "..", and sockets still being set up by their publisher.
        if (entry->d_name[0] != '.') names.emplace_back(entry->d_name);
    }
    ::closedir(listing);
    std::sort(names.begin(), names.end());
    return names;
}

// What the listener thread shares with the reply functions it hands out, which may outlive the window.
struct ReplyExchange {
    std::mutex mutex;
    std::condition_variable answered;
    uint64_t awaited = 0;  // serial of the message whose reply is awaited; 0 when none
    std::optional<intptr_t> result;
    bool stopping = false;
};

}  // namespace

std::string WindowDirectoryPath()
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && runtime[0] == '/') return std::string(runtime) + "/kovahdd";
    return "/tmp/kovahdd-" + std::to_string(::geteuid());
}

bool EnumTopLevelWindows(const std::function<bool(const TopLevelWindow& window)>& visit)
{
    const std::string directory = WindowDirectoryPath();
    switch (InspectDirectory(directory)) {
    case DirectoryState::Missing:
        return true;
    case DirectoryState::Unsafe:
        return false;
    case DirectoryState::Usable:
        break;
    }
    for (const std::string& name : ListEntryNames(directory)) {
        const std::string path = directory + "/" + name;
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISSOCK(info.st_mode) || info.st_uid != ::geteuid()) continue;
        TopLevelWindow window;
        switch (Query(path, window)) {
        case QueryResult::Stale:
            RemoveStaleEntry(path, info.st_ino);
            break;
        case QueryResult::Failed:
            break;
        case QueryResult::Answered:
            if (!visit(window)) return false;
            break;
        }
    }
    return true;
}

std::optional<intptr_t> SendTopLevelMessage(const TopLevelWindow& window, const WindowMessage& message)
{
    UniqueFd connection;
    if (Connect(window.address, -1, connection) != ConnectResult::Connected) return std::nullopt;
    RequestPacket request;
    request.kind = RequestKind::Message;
    request.message = message.message;
    request.wParam = message.wParam;
    request.lParam = message.lParam;
    if (!SendPacket(connection.get(), &request, sizeof request)) {
        FailWithErrno();
        return std::nullopt;
    }
    MessageAnswer answer;
    if (ReceivePacket(connection.get(), &answer, sizeof answer) != static_cast<ssize_t>(sizeof answer) ||
        answer.magic != kProtocolMagic) {
        SetLastError(kErrorInvalidHandle);
        return std::nullopt;
    }
    return static_cast<intptr_t>(answer.result);
}

struct PublishedWindow::State {
    std::string title;
    std::string className;
    std::string address;
    Handler handler;
    UniqueFd listener;
    UniqueFd wake;
    std::shared_ptr<ReplyExchange> exchange = std::make_shared<ReplyExchange>();
    uint64_t lastSerial = 0;
    std::thread thread;

    void Listen();
    void Serve(int connection);
    void AnswerQuery(int connection) const;
    void AnswerMessage(int connection, const RequestPacket& request);
};

void PublishedWindow::State::Listen()
{
    for (;;) {
        if (WaitReadable(listener.get(), wake.get(), -1) != WaitResult::Readable) return;
        UniqueFd connection(::accept4(listener.get(), nullptr, nullptr, SOCK_CLOEXEC));
        if (!connection.valid()) continue;
        if (PeerIsSameUser(connection.get())) Serve(connection.get());
    }
}

void PublishedWindow::State::Serve(int connection)
{
    if (WaitReadable(connection, wake.get(), kQueryTimeoutMs) != WaitResult::Readable) return;
    RequestPacket request;
    if (ReceivePacket(connection, &request, sizeof request) != static_cast<ssize_t>(sizeof request) ||
        request.magic != kProtocolMagic) {
        return;
    }
    switch (request.kind) {
    case RequestKind::Query:
        AnswerQuery(connection);
        break;
    case RequestKind::Message:
        AnswerMessage(connection, request);
        break;
    }
}

void PublishedWindow::State::AnswerQuery(int connection) const
{
    QueryAnswerHeader header;
    header.processId = static_cast<int32_t>(::getpid());
    header.titleLength = static_cast<uint32_t>(title.size());
    header.classLength = static_cast<uint32_t>(className.size());
    std::string packet(reinterpret_cast<const char*>(&header), sizeof header);
    packet += title;
    packet += className;
    SendPacket(connection, packet.data(), packet.size());
}

void PublishedWindow::State::AnswerMessage(int connection, const RequestPacket& request)
{
    const uint64_t serial = ++lastSerial;
    {
        std::lock_guard lock(exchange->mutex);
        exchange->awaited = serial;
        exchange->result.reset();
    }
    Reply reply = [exchange = exchange, serial](intptr_t result) {
        std::lock_guard lock(exchange->mutex);
        if (exchange->awaited != serial) return;
        exchange->result = result;
        exchange->answered.notify_all();
    };
    const WindowMessage message{request.message, static_cast<uintptr_t>(request.wParam),
                                static_cast<intptr_t>(request.lParam)};
    try {
        handler(message, std::move(reply));
    } catch (...) {
        // A handler that fails leaves the sender without an answer, as a vanished window would.
        return;
    }
    std::unique_lock lock(exchange->mutex);
    exchange->answered.wait(lock, [this] { return exchange->result.has_value() || exchange->stopping; });
    exchange->awaited = 0;
    if (!exchange->result) return;
    MessageAnswer answer;
    answer.result = *exchange->result;
    lock.unlock();
    SendPacket(connection, &answer, sizeof answer);
}

std::unique_ptr<PublishedWindow> PublishedWindow::Publish(const std::string& title, const std::string& className,
                                                          Handler handler)
{
    static std::atomic<uint32_t> serial{0};
    const std::string directory = WindowDirectoryPath();
    if (!EnsureDirectory(directory)) return nullptr;

    auto state = std::make_unique<State>();
    state->title = title.substr(0, kMaxNameBytes);
    state->className = className.substr(0, kMaxNameBytes);
    state->handler = std::move(handler);
    const std::string name = std::to_string(::getpid()) + "-" + std::to_string(++serial);
    state->address = directory + "/" + name;
    // Bound and listening under a hidden name first, so that no enumeration ever finds the socket
    // refusing connections and takes it for the leftover of an ended process.
    const std::string setupPath = directory + "/." + name;
    const auto setupAddress = SocketAddress(setupPath);
    if (!setupAddress || !SocketAddress(state->address)) return nullptr;

    state->listener = UniqueFd(::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0));
    state->wake = UniqueFd(::eventfd(0, EFD_CLOEXEC));
    if (!state->listener.valid() || !state->wake.valid()) {
        FailWithErrno();
        return nullptr;
    }
    ::unlink(setupPath.c_str());
    const bool listening =
        ::bind(state->listener.get(), reinterpret_cast<const sockaddr*>(&*setupAddress), sizeof *setupAddress) == 0 &&
        ::listen(state->listener.get(), kListenBacklog) == 0 &&
        ::rename(setupPath.c_str(), state->address.c_str()) == 0;
    if (!listening) {
        FailWithErrno();
        ::unlink(setupPath.c_str());
        return nullptr;
    }
    state->thread = std::thread([raw = state.get()] { raw->Listen(); });
    return std::unique_ptr<PublishedWindow>(new PublishedWindow(std::move(state)));
}

PublishedWindow::PublishedWindow(std::unique_ptr<State> state) : state_(std::move(state)) {}

PublishedWindow::~PublishedWindow()
{
    ::unlink(state_->address.c_str());
    {
        std::lock_guard lock(state_->exchange->mutex);
        state_->exchange->stopping = true;
        state_->exchange->answered.notify_all();
    }
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(state_->wake.get(), &one, sizeof one);
    state_->thread.join();
}

const std::string& PublishedWindow::address() const
{
    return state_->address;
}

}  // namespace platform
