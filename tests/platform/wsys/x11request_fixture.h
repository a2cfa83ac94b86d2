#pragma once
// Sends an event to a window destroyed just before, on a new X connection,
// and waits for the server's answer. False when no display could be opened.
bool SendToAVanishedWindow();
