rem On 64-bit Windows a 32-bit DLL is registered by the 32-bit regsvr32 (SysWOW64).
set "REGSVR32=%SystemRoot%\System32\regsvr32.exe"
if exist "%SystemRoot%\SysWOW64\regsvr32.exe" set "REGSVR32=%SystemRoot%\SysWOW64\regsvr32.exe"
