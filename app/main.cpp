#include "app/MonitorApp.h"

CMonitorApp theApp;

int main(int argc, char** argv) { return RunApplication(argc, argv); }
