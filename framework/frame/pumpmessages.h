#pragma once

// A nested message loop for long work on the thread of the windows.
//
// pumpMessages dispatches every message waiting in the calling thread's queue (posted
// messages, input, timers, repaints) and returns. Calls do not nest: a call made while a pump
// is running (from a handler the pump dispatched, or on another thread) returns at once, so a
// handler that pumps cannot recurse into itself.
//
// A quit asked for while the pump runs (PostQuitMessage) stops nothing here and is left for the
// program's own loop, which then ends as asked: a pump that swallowed the quit would keep the
// program running.

void pumpMessages();
