// The words after the script's name: orbisong-cli script run arguments.qs one "two words"
// ParamCount is how many there are; ParamStr(1) to ParamStr(ParamCount) are the words, and
// any other index gives an empty string.

procedure Main
  var
    i : integer;
  endvar

  writeln(ParamCount():0, " argument(s)")
  for i := 1 to ParamCount() do
    writeln(i:0, ": [", ParamStr(i), "]")
  endfor
  writeln("beyond the last: [", ParamStr(ParamCount() + 1), "]")
endproc

// Run with --procedure Greet to start here instead of Main.
procedure Greet
  if ParamCount() = 0 then
    writeln("Hello, whoever you are")
  else
    writeln("Hello, ", ParamStr(1))
  endif
endproc
