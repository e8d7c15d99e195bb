#pragma once
// Ids of the program's resources and of the controls of its three windows.
//
// The main window and the Function Setup dialog reuse some numbers for
// different controls (1028, 1030, 1059 and 1060 mean one thing in each), so
// each window's control ids live in a namespace of their own; a handler of one
// window should never need the other's.
#include <array>

#include "framework/dialog/Types.h"  // IDOK, IDCANCEL, IDC_STATIC

// Resources.
inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDS_ABOUTBOX = 101;         // text of the system menu's About item
inline constexpr int IDD_MONITOR_DIALOG = 102;   // the main window
inline constexpr int IDI_PROGRAM_ICON = 128;
inline constexpr int IDD_FUNCTION_SETUP = 129;

// Controls of the main window.
namespace MainWindowIds {

// "1" (high) and "0" (low) buttons of the twelve expander lines.
inline constexpr int IDC_P00_HIGH = 1076;
inline constexpr int IDC_P00_LOW = 1096;
inline constexpr int IDC_P01_HIGH = 1078;
inline constexpr int IDC_P01_LOW = 1097;
inline constexpr int IDC_P02_HIGH = 1079;
inline constexpr int IDC_P02_LOW = 1098;
inline constexpr int IDC_P03_HIGH = 1082;
inline constexpr int IDC_P03_LOW = 1099;
inline constexpr int IDC_P10_HIGH = 1083;
inline constexpr int IDC_P10_LOW = 1100;
inline constexpr int IDC_P11_HIGH = 1084;
inline constexpr int IDC_P11_LOW = 1101;
inline constexpr int IDC_P12_HIGH = 1085;
inline constexpr int IDC_P12_LOW = 1102;
inline constexpr int IDC_P13_HIGH = 1086;
inline constexpr int IDC_P13_LOW = 1103;
inline constexpr int IDC_P14_HIGH = 1087;
inline constexpr int IDC_P14_LOW = 1104;
inline constexpr int IDC_P15_HIGH = 1088;
inline constexpr int IDC_P15_LOW = 1105;
inline constexpr int IDC_P16_HIGH = 1089;
inline constexpr int IDC_P16_LOW = 1106;
inline constexpr int IDC_P17_HIGH = 1059;
inline constexpr int IDC_P17_LOW = 1060;

// Analog outputs: the push button and the voltage field of each channel.
inline constexpr int IDC_SET_ANALOG1 = 1066;
inline constexpr int IDC_VOLTS1 = 1077;
inline constexpr int IDC_SET_ANALOG2 = 1067;
inline constexpr int IDC_VOLTS2 = 1030;

// Relay buttons.
inline constexpr int IDC_OPEN_K1 = 1068;
inline constexpr int IDC_CLOSE_K1 = 1069;
inline constexpr int IDC_OPEN_K2 = 1070;
inline constexpr int IDC_CLOSE_K2 = 1071;
inline constexpr int IDC_OPEN_K3 = 1072;
inline constexpr int IDC_CLOSE_K3 = 1073;
inline constexpr int IDC_OPEN_K4 = 1074;
inline constexpr int IDC_CLOSE_K4 = 1075;

// Function rows: Count field, Setup button and Name field of functions 1 to 8.
inline constexpr int IDC_COUNT_F1 = 1090;
inline constexpr int IDC_SETUP_F1 = 1003;
inline constexpr int IDC_NAME_F1 = 1093;
inline constexpr int IDC_COUNT_F2 = 1091;
inline constexpr int IDC_SETUP_F2 = 1006;
inline constexpr int IDC_NAME_F2 = 1094;
inline constexpr int IDC_COUNT_F3 = 1092;
inline constexpr int IDC_SETUP_F3 = 1009;
inline constexpr int IDC_NAME_F3 = 1095;
inline constexpr int IDC_COUNT_F4 = 1011;
inline constexpr int IDC_SETUP_F4 = 1012;
inline constexpr int IDC_NAME_F4 = 1013;
inline constexpr int IDC_COUNT_F5 = 1014;
inline constexpr int IDC_SETUP_F5 = 1015;
inline constexpr int IDC_NAME_F5 = 1016;
inline constexpr int IDC_COUNT_F6 = 1017;
inline constexpr int IDC_SETUP_F6 = 1018;
inline constexpr int IDC_NAME_F6 = 1019;
inline constexpr int IDC_COUNT_F7 = 1020;
inline constexpr int IDC_SETUP_F7 = 1021;
inline constexpr int IDC_NAME_F7 = 1022;
inline constexpr int IDC_COUNT_F8 = 1023;
inline constexpr int IDC_SETUP_F8 = 1024;
inline constexpr int IDC_NAME_F8 = 1025;

// Bottom row: the peak bin, its hit count and the environment mode.
inline constexpr int IDC_PEAK_BIN = 1001;
inline constexpr int IDC_TOP_COUNT = 1026;
inline constexpr int IDC_NOISY = 1027;
inline constexpr int IDC_QUIET = 1028;

// The same ids as tables, for handlers routed by id. Lines are indexed in
// name order, P00 to P03 then P10 to P17 (0 to 11), which is the order of the
// function record's line numbers, not the order of the window's lineChoice
// members.
inline constexpr int kLineCount = 12;
inline constexpr std::array<int, kLineCount> LineHighButtons = {
    IDC_P00_HIGH, IDC_P01_HIGH, IDC_P02_HIGH, IDC_P03_HIGH, IDC_P10_HIGH, IDC_P11_HIGH,
    IDC_P12_HIGH, IDC_P13_HIGH, IDC_P14_HIGH, IDC_P15_HIGH, IDC_P16_HIGH, IDC_P17_HIGH};
inline constexpr std::array<int, kLineCount> LineLowButtons = {
    IDC_P00_LOW, IDC_P01_LOW, IDC_P02_LOW, IDC_P03_LOW, IDC_P10_LOW, IDC_P11_LOW,
    IDC_P12_LOW, IDC_P13_LOW, IDC_P14_LOW, IDC_P15_LOW, IDC_P16_LOW, IDC_P17_LOW};

// Relays K1 to K4 at index 0 to 3.
inline constexpr int kRelayCount = 4;
inline constexpr std::array<int, kRelayCount> RelayOpenButtons = {IDC_OPEN_K1, IDC_OPEN_K2,
                                                                  IDC_OPEN_K3, IDC_OPEN_K4};
inline constexpr std::array<int, kRelayCount> RelayCloseButtons = {IDC_CLOSE_K1, IDC_CLOSE_K2,
                                                                   IDC_CLOSE_K3, IDC_CLOSE_K4};

// Functions 1 to 8 at index 0 to 7.
inline constexpr int kFunctionRowCount = 8;
inline constexpr std::array<int, kFunctionRowCount> CountFields = {
    IDC_COUNT_F1, IDC_COUNT_F2, IDC_COUNT_F3, IDC_COUNT_F4,
    IDC_COUNT_F5, IDC_COUNT_F6, IDC_COUNT_F7, IDC_COUNT_F8};
inline constexpr std::array<int, kFunctionRowCount> SetupButtons = {
    IDC_SETUP_F1, IDC_SETUP_F2, IDC_SETUP_F3, IDC_SETUP_F4,
    IDC_SETUP_F5, IDC_SETUP_F6, IDC_SETUP_F7, IDC_SETUP_F8};
inline constexpr std::array<int, kFunctionRowCount> NameFields = {
    IDC_NAME_F1, IDC_NAME_F2, IDC_NAME_F3, IDC_NAME_F4,
    IDC_NAME_F5, IDC_NAME_F6, IDC_NAME_F7, IDC_NAME_F8};

}  // namespace MainWindowIds

// Controls of the Function Setup dialog.
namespace FunctionSetupIds {

inline constexpr int IDC_BIN1 = 1029;
inline constexpr int IDC_BIN2 = 1002;
inline constexpr int IDC_BIN3 = 1005;
inline constexpr int IDC_NAME = 1004;
inline constexpr int IDC_REQUIRED_COUNT = 1007;

// The three prompts that initialisation fills in with the function number.
inline constexpr int IDC_BINS_PROMPT = 1059;
inline constexpr int IDC_NAME_PROMPT = 1060;
inline constexpr int IDC_COUNT_PROMPT = 1061;

// Digital output: the enabling check box, the line group and the action group.
inline constexpr int IDC_DIGITAL_OUTPUT = 1030;
inline constexpr int IDC_LINE_P00 = 1044;  // P01 to P17 follow without a gap, to 1055
inline constexpr int IDC_LINE_P01 = 1045;
inline constexpr int IDC_LINE_P02 = 1046;
inline constexpr int IDC_LINE_P03 = 1047;
inline constexpr int IDC_LINE_P10 = 1048;
inline constexpr int IDC_LINE_P11 = 1049;
inline constexpr int IDC_LINE_P12 = 1050;
inline constexpr int IDC_LINE_P13 = 1051;
inline constexpr int IDC_LINE_P14 = 1052;
inline constexpr int IDC_LINE_P15 = 1053;
inline constexpr int IDC_LINE_P16 = 1054;
inline constexpr int IDC_LINE_P17 = 1055;
inline constexpr int IDC_LINE_HIGH = 1056;
inline constexpr int IDC_LINE_LOW = 1057;
inline constexpr int IDC_LINE_TOGGLE = 1058;

// Analog outputs: enabling check box and volts of each channel.
inline constexpr int IDC_ANALOG1 = 1031;
inline constexpr int IDC_ANALOG1_VOLTS = 1008;
inline constexpr int IDC_ANALOG2 = 1033;
inline constexpr int IDC_ANALOG2_VOLTS = 1010;

// Relays: enabling check box and the Close, Open, Toggle group of each.
inline constexpr int IDC_RELAY1 = 1032;
inline constexpr int IDC_RELAY1_CLOSE = 1037;
inline constexpr int IDC_RELAY1_OPEN = 1028;  // out of sequence; only its place in the group counts
inline constexpr int IDC_RELAY1_TOGGLE = 1062;
inline constexpr int IDC_RELAY2 = 1034;
inline constexpr int IDC_RELAY2_CLOSE = 1038;
inline constexpr int IDC_RELAY2_OPEN = 1039;
inline constexpr int IDC_RELAY2_TOGGLE = 1063;
inline constexpr int IDC_RELAY3 = 1035;
inline constexpr int IDC_RELAY3_CLOSE = 1040;
inline constexpr int IDC_RELAY3_OPEN = 1041;
inline constexpr int IDC_RELAY3_TOGGLE = 1064;
inline constexpr int IDC_RELAY4 = 1036;
inline constexpr int IDC_RELAY4_CLOSE = 1042;
inline constexpr int IDC_RELAY4_OPEN = 1043;
inline constexpr int IDC_RELAY4_TOGGLE = 1065;

// "Record Changes" is IDOK and "Cancel" is IDCANCEL.

}  // namespace FunctionSetupIds
