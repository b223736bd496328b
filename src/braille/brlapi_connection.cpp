// SPDX-License-Identifier: GPL-3.0-or-later
#include "braille/brlapi_connection.h"

#include <brlapi.h>

#include <cstdlib>
#include <vector>

namespace orbela {
namespace {

// BrlAPI's default reaction to an error the server reports later is to
// abort the process; here it only ends the call in progress.
void QuietException(brlapi_handle_t*, int, brlapi_packetType_t, const void*, size_t) {}

constexpr unsigned char CursorDots = BRLAPI_DOT7 | BRLAPI_DOT8;

} // namespace

// BrlAPI's handle is an opaque block of a size known at run time.
struct BrlapiConnection::Handle {
    std::vector<unsigned char> storage = std::vector<unsigned char>(brlapi_getHandleSize());
    brlapi_handle_t* get() { return reinterpret_cast<brlapi_handle_t*>(storage.data()); }
};

BrlapiConnection::BrlapiConnection() = default;

BrlapiConnection::~BrlapiConnection()
{
    Disconnect();
}

bool BrlapiConnection::Connect()
{
    if (handle_)
        return true;
    auto handle = std::make_unique<Handle>();
    // Null settings: BRLAPI_HOST and BRLAPI_AUTH, or the defaults.
    const int descriptor = brlapi__openConnection(handle->get(), nullptr, nullptr);
    if (descriptor < 0)
        return false;
    brlapi__setExceptionHandler(handle->get(), QuietException);
    handle_ = std::move(handle);
    descriptor_ = descriptor;
    return true;
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
    window_.reset();
}

void BrlapiConnection::Fail()
{
    // The server is gone or refused: nothing more to say to it.
    if (handle_)
        brlapi__closeConnection(handle_->get());
    handle_.reset();
    descriptor_ = -1;
    window_.reset();
}

bool BrlapiConnection::TakeDisplay(std::uint64_t windowId)
{
    if (!handle_)
        return false;
    if (window_ == windowId)
        return true;
    if (window_ && brlapi__leaveTtyMode(handle_->get()) < 0) {
        Fail();
        return false;
    }
    window_.reset();
    // The library puts the session's own path (WINDOWPATH or XDG_VTNR)
    // before the window; a null driver asks for commands, not raw keys.
    const int path[] = {static_cast<int>(windowId)};
    if (brlapi__enterTtyModeWithPath(handle_->get(), path, 1, nullptr) < 0) {
        Fail();
        return false;
    }
    window_ = windowId;
    // Cells typed on the display's keyboard arrive as dots, for the
    // program's own chord table, not as characters of BRLTTY's table.
    const brlapi_param_retainDots_t retain = 1;
    brlapi__setParameter(handle_->get(), BRLAPI_PARAM_RETAIN_DOTS, 0, BRLAPI_PARAMF_LOCAL, &retain, sizeof retain);
    return true;
}

void BrlapiConnection::ReleaseDisplay()
{
    if (!handle_ || !window_)
        return;
    window_.reset();
    if (brlapi__leaveTtyMode(handle_->get()) < 0)
        Fail();
}

int BrlapiConnection::Cells()
{
    if (!handle_)
        return 0;
    unsigned int width = 0;
    unsigned int height = 0;
    if (brlapi__getDisplaySize(handle_->get(), &width, &height) < 0) {
        Fail();
        return 0;
    }
    return static_cast<int>(width);
}

bool BrlapiConnection::Write(const std::string& utf8Text, std::optional<int> cursorCell)
{
    const int cells = Cells();
    if (!handle_ || !window_ || cells <= 0)
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
        // A display that went away mid-write is not a lost server.
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
