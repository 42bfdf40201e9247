#pragma once
// How the trace and the dispatch log write one byte: a printable character as itself,
// anything else bracketed in hex ([0D]) or decimal ([13]). The width of a piece in
// columns is its length.
#include <cstdint>
#include <string>

// allHex: every byte as [XX]. Otherwise bytes from 32 (33 with inHex, so that a blank
// shows as [20]) to 126 as characters, the rest as [XX] with inHex, else [decimal].
std::string SioByteText(uint8_t byte, bool inHex, bool allHex);
