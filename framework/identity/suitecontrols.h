#pragma once

// The suite's controls that other modules' pages host, by ProgID, and the maker's web site
// address, where every About page's link leads.

// The colour field of the colour pages and the link of the About pages.
constexpr const char* c_szColorProgId = "zorColorControl.29";
constexpr const char* c_szUrlProgId = "zorURLControl.29";

// The maker's web site address: the link's default and the About pages' link.
#define ZOR_MAKER_URL "https://www.zorvex.example/"
constexpr const char* c_szMakerUrl = ZOR_MAKER_URL;
