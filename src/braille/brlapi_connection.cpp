// SPDX-License-Identifier: GPL-3.0-or-later
#include "braille/brlapi_connection.h"

#include <brlapi.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdlib>
#include <mutex>
#include <thread>
#include <vector>

namespace orbela {
namespace {

// BrlAPI's default reaction to an error the server reports later is to
// abort the process; here it only ends the call in progress.
void QuietException(brlapi_handle_t*, int, brlapi_packetType_t, const void*, size_t) {}

// Called inside a BrlAPI call of the owner's thread (reading keys). The
// value is not used: it arrives byte-swapped from some servers, and taking
// the display again reads the size anyway.
void NoteSizeChange(brlapi_param_t, brlapi_param_subparam_t, brlapi_param_flags_t, void* changed, const void*, size_t)
{
    *static_cast<bool*>(changed) = true;
}

constexpr unsigned char CursorDots = BRLAPI_DOT7 | BRLAPI_DOT8;

} // namespace

// BrlAPI's handle is an opaque block of a size known at run time.
struct BrlapiConnection::Handle {
    std::vector<unsigned char> storage = std::vector<unsigned char>(brlapi_getHandleSize());
    brlapi_handle_t* get() { return reinterpret_cast<brlapi_handle_t*>(storage.data()); }
};

// One connection attempt, shared by the thread that makes it and the
// owner, who may stop waiting for it.
struct BrlapiConnection::Attempt {
    std::mutex mutex;
    bool ended = false;
    bool abandoned = false;
    std::unique_ptr<Handle> handle;
    int descriptor = -1;
    // Written once the attempt has ended, for the owner's event loop.
    int wake = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);

    ~Attempt()
    {
        if (handle)
            brlapi__closeConnection(handle->get());
        if (wake >= 0)
            close(wake);
    }

    void Run()
    {
        auto opened = std::make_unique<Handle>();
        // Null settings: BRLAPI_HOST and BRLAPI_AUTH, or the defaults.
        const int socket = brlapi__openConnection(opened->get(), nullptr, nullptr);
        if (socket >= 0)
            brlapi__setExceptionHandler(opened->get(), QuietException);
        const std::lock_guard lock(mutex);
        ended = true;
        if (socket >= 0 && abandoned)
            brlapi__closeConnection(opened->get());
        else if (socket >= 0) {
            handle = std::move(opened);
            descriptor = socket;
        }
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = write(wake, &one, sizeof one);
    }
};

BrlapiConnection::BrlapiConnection() = default;

BrlapiConnection::~BrlapiConnection()
{
    AbandonConnecting();
    Disconnect();
}

bool BrlapiConnection::StartConnecting()
{
    if (handle_ || attempt_)
        return false;
    auto attempt = std::make_shared<Attempt>();
    if (attempt->wake < 0)
        return false;
    attempt_ = attempt;
    // Detached: an attempt given up on may stay blocked in the server's
    // handshake; it holds its own state.
    std::thread([attempt] { attempt->Run(); }).detach();
    return true;
}

int BrlapiConnection::AttemptDescriptor() const
{
    return attempt_ ? attempt_->wake : -1;
}

bool BrlapiConnection::Connecting() const
{
    if (!attempt_)
        return false;
    const std::lock_guard lock(attempt_->mutex);
    return !attempt_->ended && !attempt_->abandoned;
}

bool BrlapiConnection::FinishConnecting()
{
    if (handle_)
        return true;
    if (!attempt_)
        return false;
    {
        const std::lock_guard lock(attempt_->mutex);
        if (!attempt_->ended)
            return false;
        if (!attempt_->abandoned && attempt_->handle) {
            handle_ = std::move(attempt_->handle);
            descriptor_ = attempt_->descriptor;
        }
    }
    attempt_.reset();
    if (handle_)
        Adopt();
    return handle_ != nullptr;
}

void BrlapiConnection::AbandonConnecting()
{
    if (!attempt_)
        return;
    bool ended = false;
    {
        const std::lock_guard lock(attempt_->mutex);
        attempt_->abandoned = true;
        ended = attempt_->ended;
    }
    // An ended attempt is done with (what it got closes with it); a running
    // one is kept, so that no second thread starts while it may still be
    // blocked.
    if (ended)
        attempt_.reset();
}

void BrlapiConnection::Adopt()
{
    sizeChanged_ = false;
    // A display of another size, or one plugged in later, is announced by
    // this parameter; the buffer passed keeps the first call from happening
    // at once.
    brlapi_param_displaySize_t size{};
    brlapi__watchParameter(handle_->get(), BRLAPI_PARAM_DISPLAY_SIZE, 0, BRLAPI_PARAMF_GLOBAL, NoteSizeChange,
                           &sizeChanged_, &size, sizeof size);
}

void BrlapiConnection::Disconnect()
{
    if (!handle_)
        return;
    if (window_)
        brlapi__leaveTtyMode(handle_->get());
    brlapi__closeConnection(handle_->get());
    handle_.reset();
    descriptor_ = -1;
    cells_ = 0;
    window_.reset();
}

void BrlapiConnection::Fail()
{
    // The server is gone or refused: nothing more to say to it.
    if (handle_)
        brlapi__closeConnection(handle_->get());
    handle_.reset();
    descriptor_ = -1;
    cells_ = 0;
    window_.reset();
}

bool BrlapiConnection::EnterTtyMode(std::uint64_t windowId)
{
    // The library puts the session's own path (WINDOWPATH or XDG_VTNR)
    // before the window; a null driver asks for commands, not raw keys.
    const int path[] = {static_cast<int>(windowId)};
    const int depth = windowId == SessionTerminal ? 0 : 1;
    if (brlapi__enterTtyModeWithPath(handle_->get(), path, depth, nullptr) < 0) {
        Fail();
        return false;
    }
    window_ = windowId;
    ++takings_;
    // Cells typed on the display's keyboard arrive as dots, for the
    // program's own chord table, not as characters of BRLTTY's table: the
    // server passes them as commands only to a client that asks for that
    // command block once in tty mode.
    const brlapi_param_retainDots_t retain = 1;
    brlapi__setParameter(handle_->get(), BRLAPI_PARAM_RETAIN_DOTS, 0, BRLAPI_PARAMF_LOCAL, &retain, sizeof retain);
    const brlapi_keyCode_t dots[] = {BRLAPI_KEY_TYPE_CMD | BRLAPI_KEY_CMD_PASSDOTS};
    brlapi__acceptKeys(handle_->get(), brlapi_rangeType_command, dots, 1);
    unsigned int width = 0;
    unsigned int height = 0;
    if (brlapi__getDisplaySize(handle_->get(), &width, &height) < 0) {
        Fail();
        return false;
    }
    cells_ = static_cast<int>(width);
    return true;
}

bool BrlapiConnection::TakeDisplay(std::uint64_t windowId)
{
    if (!handle_)
        return false;
    // Taken while the server had no display yet: its size is read again.
    if (window_ == windowId)
        return cells_ > 0 || TakeDisplayAgain();
    if (window_ && brlapi__leaveTtyMode(handle_->get()) < 0) {
        Fail();
        return false;
    }
    window_.reset();
    cells_ = 0;
    return EnterTtyMode(windowId);
}

bool BrlapiConnection::TakeDisplayAgain()
{
    if (!handle_ || !window_)
        return false;
    const std::uint64_t windowId = *window_;
    window_.reset();
    cells_ = 0;
    if (brlapi__leaveTtyMode(handle_->get()) < 0) {
        Fail();
        return false;
    }
    return EnterTtyMode(windowId);
}

void BrlapiConnection::ReleaseDisplay()
{
    if (!handle_ || !window_)
        return;
    window_.reset();
    cells_ = 0;
    if (brlapi__leaveTtyMode(handle_->get()) < 0)
        Fail();
}

bool BrlapiConnection::TakeSizeChange()
{
    const bool changed = sizeChanged_;
    sizeChanged_ = false;
    return changed;
}

int BrlapiConnection::Cells()
{
    return handle_ && window_ ? cells_ : 0;
}

bool BrlapiConnection::Write(const std::string& utf8Text, std::optional<int> cursorCell)
{
    const int cells = Cells();
    if (cells <= 0)
        return false;
    std::vector<unsigned char> orMask(static_cast<std::size_t>(cells), 0);
    if (cursorCell && *cursorCell >= 0 && *cursorCell < cells)
        orMask[static_cast<std::size_t>(*cursorCell)] = CursorDots;
    brlapi_writeArguments_t arguments = BRLAPI_WRITEARGUMENTS_INITIALIZER;
    arguments.regionBegin = 1;
    arguments.regionSize = cells;
    arguments.text = utf8Text.c_str();
    arguments.textSize = static_cast<int>(utf8Text.size());
    arguments.orMask = orMask.data();
    // The cursor is drawn as dots 7 and 8 above; BRLTTY's own would blink
    // or take the user's shape.
    arguments.cursor = BRLAPI_CURSOR_OFF;
    // Sent as text: BRLTTY renders it with its user's braille table.
    arguments.charset = "UTF-8";
    if (brlapi__write(handle_->get(), &arguments) < 0) {
        // A display that changed size under the write is not a lost server.
        if (brlapi_error.brlerrno != BRLAPI_ERROR_INVALID_PARAMETER)
            Fail();
        return false;
    }
    return true;
}

std::vector<BrailleKey> BrlapiConnection::ReadKeys()
{
    std::vector<BrailleKey> keys;
    while (handle_) {
        brlapi_keyCode_t code = 0;
        const int read = brlapi__readKey(handle_->get(), 0, &code);
        if (read < 0) {
            Fail();
            break;
        }
        if (read == 0)
            break;
        if (const auto key = DecodeBrailleKey(code))
            keys.push_back(*key);
    }
    return keys;
}

} // namespace orbela
