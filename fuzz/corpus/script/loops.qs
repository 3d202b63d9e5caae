// Loops and routines: FOR, WHILE, REPEAT, SWITCH and a recursive function.

function Fib(n : integer) : longint
  if n < 2 then
    return n
  endif
  return Fib(n - 1) + Fib(n - 2)
endfunc

procedure Main
  var
    i : integer;
    total : longint;
  endvar

  for i := 1 to 10 do
    write(Fib(i):4)
  endfor
  writeln()

  total := 0
  i := 0
  while i < 100 do
    i := i + 1
    if i % 3 <> 0 then
      continue
    endif
    total := total + i
  endwhile
  writeln("Sum of multiples of 3 up to 100: ", total:0)

  repeat
    i := i / 2
  until i < 10
  for i := 3 downto 1
    switch i of
      case 1: writeln("one") endcase
      case 2: writeln("two") endcase
      else writeln("many") endcase
    endswitch
  endfor
endproc
