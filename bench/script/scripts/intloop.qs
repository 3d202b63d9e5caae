procedure Main
  var i : longint; s : longint; endvar
  s := 0
  for i := 1 to 10000000
    s := s + i % 7 * 2 - 1
  endfor
  writeln(s:0)
endproc
