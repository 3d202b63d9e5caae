function Fib(n : integer) : longint
  if n < 2 then
    return n
  endif
  return Fib(n - 1) + Fib(n - 2)
endfunc

procedure Main
  writeln(Fib(27):0)
endproc
