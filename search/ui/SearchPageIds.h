#pragma once

namespace korvana {

// The search page's resource ids. Each control's object name is its id's
// name, so that tests and the rest of the program find controls by id.
inline constexpr int IDD_SEARCH = 137;
inline constexpr int IDC_KEYWORD = 1000;
inline constexpr int IDC_START_SEARCH = 1001;
inline constexpr int IDC_STOP_SEARCH = 1003;
inline constexpr int IDC_FIND_NEXT = 1005;
inline constexpr int IDC_RESULT_LIST = 1014;
inline constexpr int IDC_SEARCH_PICTURE = 1029;
inline constexpr int IDC_DOWNLOAD_SELECTED = 1040;
inline constexpr int IDC_SEARCH_STATUS = 1044;
inline constexpr int IDC_FIND_TEXT = 1055;
inline constexpr int IDC_FIND_STATUS = 1056;
inline constexpr int IDC_SEARCH_TABS = 1089;
inline constexpr int IDC_REMOVE_SEARCH = 1090;
inline constexpr int IDC_FILTER_LIST = 1091;
inline constexpr int IDC_RESET = 1092;
inline constexpr int IDC_FILTER_EDIT = 1093;
inline constexpr int IDC_SEARCH_SEPARATOR = 1094;

// Menus and their commands.
inline constexpr int IDR_RESULTS_MENU = 147;
inline constexpr int IDR_SEARCH_MENU = 154;
inline constexpr int ID_DOWNLOAD = 65535;
inline constexpr int ID_STOP_SEARCH = 32794;
inline constexpr int ID_REMOVE_SEARCH = 32795;
inline constexpr int ID_CLEAR_ALL_SEARCHES = 32796;
inline constexpr int ID_FIND = 32799;

}  // namespace korvana
