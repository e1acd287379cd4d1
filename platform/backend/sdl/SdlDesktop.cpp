// The desktop's services through SDL: the pointer's shape and capture, the screen and its work
// area, the bell, the clipboard and the primary selection.

#include <SDL2/SDL.h>

#include <cstdio>

#include "platform/backend/sdl/SdlBackend.h"
#include "platform/backend/sdl/SdlHost.h"

namespace platform {

using namespace sdl;

void SdlBackend::SetHostCapture(bool capture) {
    SDL_CaptureMouse(capture ? SDL_TRUE : SDL_FALSE);
}

void SdlBackend::SetCursor(Cursor cursor) {
    SDL_SystemCursor id = SDL_SYSTEM_CURSOR_ARROW;
    switch (cursor) {
    case Cursor::IBeam:
        id = SDL_SYSTEM_CURSOR_IBEAM;
        break;
    case Cursor::Wait:
        id = SDL_SYSTEM_CURSOR_WAIT;
        break;
    case Cursor::Cross:
        id = SDL_SYSTEM_CURSOR_CROSSHAIR;
        break;
    case Cursor::SizeNWSE:
        id = SDL_SYSTEM_CURSOR_SIZENWSE;
        break;
    case Cursor::SizeNESW:
        id = SDL_SYSTEM_CURSOR_SIZENESW;
        break;
    case Cursor::SizeWE:
        id = SDL_SYSTEM_CURSOR_SIZEWE;
        break;
    case Cursor::SizeNS:
        id = SDL_SYSTEM_CURSOR_SIZENS;
        break;
    case Cursor::SizeAll:
        id = SDL_SYSTEM_CURSOR_SIZEALL;
        break;
    case Cursor::Hand:
        id = SDL_SYSTEM_CURSOR_HAND;
        break;
    case Cursor::No:
        id = SDL_SYSTEM_CURSOR_NO;
        break;
    case Cursor::Arrow:
        break;
    }
    SDL_Cursor*& c = m_cursors[id];
    if (!c)
        c = SDL_CreateSystemCursor(id);
    if (c)
        SDL_SetCursor(c);
}

Rect SdlBackend::ScreenRect() {
    SDL_Rect r{0, 0, 1024, 768};
    SDL_GetDisplayBounds(0, &r);
    return g_scale.InsideToLogical(Rect::FromSize(r.x, r.y, r.w, r.h));
}

Rect SdlBackend::WorkArea() {
    SDL_Rect r{0, 0, 0, 0};
    if (SDL_GetDisplayUsableBounds(0, &r) != 0 || r.w <= 0 || r.h <= 0)
        return ScreenRect();
    return g_scale.InsideToLogical(Rect::FromSize(r.x, r.y, r.w, r.h));
}

void SdlBackend::Beep() {
    // SDL has no bell; the terminal's is the nearest thing.
    std::fputc('\a', stderr);
    std::fflush(stderr);
}

std::string SdlBackend::ClipboardText() {
    char* text = SDL_GetClipboardText();
    std::string out = text ? text : "";
    SDL_free(text);
    return out;
}

void SdlBackend::SetClipboardText(const std::string& utf8) {
    SDL_SetClipboardText(utf8.c_str());
}

std::string SdlBackend::PrimarySelectionText() {
    char* text = SDL_GetPrimarySelectionText();
    std::string out = text ? text : "";
    SDL_free(text);
    return out;
}

void SdlBackend::SetPrimarySelectionText(const std::string& utf8) {
    SDL_SetPrimarySelectionText(utf8.c_str());
}

} // namespace platform
