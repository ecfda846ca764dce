#pragma once

// The maker's web addresses that the Help menu and the about box open.
inline constexpr const char* ProductPageUrl = "https://www.korvell.example/merovan/";
inline constexpr const char* CustomerPageUrl = "https://www.korvell.example/account/";
inline constexpr const char* MakerHomeUrl = "https://www.korvell.example/";
