#pragma once
// Resource identifiers shared by zarn.rc and the code.

#define IDI_APP 1
// Category icons, one per category form, in catalogue order.
#define IDI_CAT_EXPLORER 101
#define IDI_CAT_APPLETS 102
#define IDI_CAT_SYSTEM 103
#define IDI_CAT_IE 104
#define IDI_CAT_OPERA 105
#define IDI_CAT_FIREFOX 106
#define IDI_CAT_SAFARI 107
#define IDI_CAT_MSOFFICE 108
#define IDI_CAT_OPENOFFICE 109
#define IDI_CAT_ADOBE 110
#define IDI_CAT_MACROMEDIA 111
#define IDI_CAT_MEDIAPLAYER 112
#define IDI_CAT_CHROME 113
#define IDI_CAT_EDGE 114
#define IDI_CAT_BRAVE 115
#define IDI_CAT_VIVALDI 116

// The wizard's list images: scanning, done, cleaning (16 by 16 each at 96 DPI; the icons
// also hold them at 20, 24 and 32 pixels).
#define IDI_LIST_SCAN 201
#define IDI_LIST_DONE 202
#define IDI_LIST_CLEAN 203

// JPEG banners, stored as raw data and decoded with libjpeg.
#define IDR_BANNER_SIDE 301
#define IDR_BANNER_TOP 302
#define IDR_BANNER_ABOUT 303
// The same banners at twice the size, shrunk to fit at resolutions above 96 DPI.
#define IDR_BANNER_SIDE_2X 311
#define IDR_BANNER_TOP_2X 312
#define IDR_BANNER_ABOUT_2X 313
