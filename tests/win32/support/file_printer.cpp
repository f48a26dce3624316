// Sets up a PostScript printer whose jobs are written to a file, and makes it
// the default printer, so that printing can be tested (and a printed page
// looked at) without a printer: file_printer.exe <PPD file> <output file>.
// Wine's own PostScript driver does the drawing; the output file is a local
// port, to which the spooler copies every job.

#include <windows.h>
#include <winspool.h>

#include <cstdio>
#include <string>

int main() {
  int argc = 0;
  wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
  if (argc != 3) {
    std::fprintf(stderr, "uso: file_printer <arquivo PPD> <arquivo de saída>\n");
    return 2;
  }
  const std::wstring ppd = argv[1], output = argv[2];
  static wchar_t name[] = L"Quelvo PostScript";

  HKEY ports = nullptr;
  if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Ports", 0, nullptr, 0,
                        KEY_SET_VALUE, nullptr, &ports, nullptr) != ERROR_SUCCESS) {
    std::fprintf(stderr, "file_printer: the ports key cannot be opened\n");
    return 1;
  }
  ::RegSetValueExW(ports, output.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(L""), sizeof(wchar_t));
  ::RegCloseKey(ports);

  DRIVER_INFO_3W driver{};
  driver.cVersion = 3;
  driver.pName = name;
  driver.pEnvironment = const_cast<wchar_t*>(L"Windows x64");
  driver.pDriverPath = const_cast<wchar_t*>(L"wineps.drv");
  driver.pDataFile = const_cast<wchar_t*>(ppd.c_str());
  driver.pConfigFile = const_cast<wchar_t*>(L"wineps.drv");
  driver.pDefaultDataType = const_cast<wchar_t*>(L"RAW");
  if (!::AddPrinterDriverExW(nullptr, 3, reinterpret_cast<BYTE*>(&driver),
                             APD_COPY_NEW_FILES | APD_COPY_FROM_DIRECTORY)) {
    std::fprintf(stderr, "file_printer: AddPrinterDriverEx failed (%lu)\n", ::GetLastError());
    return 1;
  }

  PRINTER_INFO_2W printer{};
  printer.pPrinterName = name;
  printer.pPortName = const_cast<wchar_t*>(output.c_str());
  printer.pDriverName = name;
  printer.pPrintProcessor = const_cast<wchar_t*>(L"WinPrint");
  printer.pDatatype = const_cast<wchar_t*>(L"RAW");
  printer.Attributes = PRINTER_ATTRIBUTE_LOCAL;
  HANDLE added = ::AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&printer));
  if (added) {
    ::ClosePrinter(added);
  } else if (::GetLastError() == ERROR_PRINTER_ALREADY_EXISTS) {
    // Set up before: only the output file changes.
    HANDLE existing = nullptr;
    PRINTER_DEFAULTSW access{nullptr, nullptr, PRINTER_ALL_ACCESS};
    PRINTER_INFO_5W port{};
    port.pPrinterName = name;
    port.pPortName = printer.pPortName;
    if (!::OpenPrinterW(name, &existing, &access) || !::SetPrinterW(existing, 5, reinterpret_cast<BYTE*>(&port), 0)) {
      std::fprintf(stderr, "file_printer: the printer's output cannot be changed (%lu)\n", ::GetLastError());
      return 1;
    }
    ::ClosePrinter(existing);
  } else {
    std::fprintf(stderr, "file_printer: AddPrinter failed (%lu)\n", ::GetLastError());
    return 1;
  }
  if (!::SetDefaultPrinterW(name)) {
    std::fprintf(stderr, "file_printer: SetDefaultPrinter failed (%lu)\n", ::GetLastError());
    return 1;
  }
  ::LocalFree(argv);
  return 0;
}
