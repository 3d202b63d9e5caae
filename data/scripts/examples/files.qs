// Text files and initialisation files in a temporary place.

procedure Main
  var
    t : text;
    line : string;
    name : string;
    code : byte;
    count : integer;
  endvar

  name := createTempFile
  assign(t, name)
  code := rewrite(t)
  writeln(t, "first line")
  writeln(t, "second line")
  code := close(t)

  code := reset(t)
  while not eof(t) do
    readln(t, line)
    count := count + 1
    writeln(count:0, ": ", line)
  endwhile
  code := close(t)

  writePrivateProfileString("Player", "Volume", "80", name)
  writeln("Volume = ", getPrivateProfileInt("Player", "Volume", 0, name):0)

  assign(t, name + ".missing")
  if reset(t) <> 0 then
    writeln("A missing file gives a result code, not an error")
  endif
endproc
