rem A 64-bit DLL is registered by the 64-bit regsvr32; a 32-bit prompt reaches it as Sysnative.
if not exist "%SystemRoot%\SysWOW64" goto wrong_windows
set "REGSVR32=%SystemRoot%\System32\regsvr32.exe"
if exist "%SystemRoot%\Sysnative\regsvr32.exe" set "REGSVR32=%SystemRoot%\Sysnative\regsvr32.exe"
