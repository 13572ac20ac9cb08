// Shift-JIS spellings the tests share, as string literals that join with others at compile time:
// names whose second byte is "\" (0x5C) or "|" (0x7C), which a byte-wise path split would cut, and
// plain ones.
#pragma once

#define SJIS_SO "\x83\x5C"                      // ソ
#define SJIS_SOFUTO "\x83\x5C\x83\x74\x83\x67"  // ソフト
#define SJIS_HYOU "\x95\x5C"                    // 表
#define SJIS_NOU "\x94\x5C"                     // 能
#define SJIS_YO "\x97\x5C"                      // 予
#define SJIS_KOU "\x8D\x5C"                     // 構
#define SJIS_PO "\x83\x7C"                      // ポ
#define SJIS_GEEMU "\x83\x51\x81\x5B\x83\x80"   // ゲーム
