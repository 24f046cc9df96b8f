#pragma once

// A current GL context without a display, for the reader's texture uploads.
bool makeOffscreenContext();
