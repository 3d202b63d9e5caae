procedure Main
  var i : longint; n : longint; s : string; t : string; endvar
  for i := 1 to 200000
    s := "item" + intToStr(i) + "-" + intToStr(i % 13)
    if pos("99", s) > 0 then
      n := n + 1
    endif
    t := copy(s, 2, 3)
    n := n + length(t)
  endfor
  writeln(n:0)
endproc
