namespace Orbisong {

// The tips shown when no "TIPS.TXT" is found: help topic, heading and text of one tip a line.
extern const char *const BuiltinTipsText;
const char *const BuiltinTipsText = R"tips(player~Welcome to Orbisong~Put an audio CD in the drive and Orbisong recognises it by its album ID. Everything you type about the album is kept for the next time you insert it.
collection~"Your collection"~Every album you have ever inserted is kept in the collection. Open it from the Album menu to browse, search and edit albums even when they are not in the drive.
~The time display~The display shows elapsed or remaining time of the track or of the whole playlist. Click it to switch between the four modes.
lookup~Finding album titles~When you insert a CD that Orbisong does not know yet, it looks for the titles in your other players' data, then in a local xmcd database and on a CDDB server.
lookup~Coming from Windows?~Orbisong reads the disc titles of your old CD player from CDPLAYER.INI, also inside your Wine prefix, so the albums you typed in years ago are not lost.
playlists~Playlists~Each album can have many playlists. A step of a playlist can be a whole track or any part of one, down to a single frame.
playlists~Your own order~Drag the steps of a playlist into the order you like. The playlist is stored with the album and chosen again when you insert the disc.
~Shuffle~Random order plays the steps of the current playlist in a new order each time. It never plays a step twice before every step has had its turn.
~Intro scan~Intro mode plays the first seconds of every step. Set how long in the options.
tray~Play from the tray~Orbisong can put Play, Stop, Next and Previous buttons in the notification area. Double-click the Stop button to eject the disc.
~Keep it on top~Let the window float over all others, and make it stick to a border or corner of the screen, in the setup wizard or the options.
timer~Wake up to music~Timer play starts the disc at a time you choose; timer stop ends playback, for instance when you fall asleep.
scripts~Scripts~Every album can run a script when it is inserted or ejected, and every step when it starts playing. Scripts can type text, show messages and much more.
weblinks~Web links~Attach web pages to an album: the band's home page, a shop, a review. Open them from the album's properties with one click.
export~Export your collection~The export wizard writes your collection as HTML pages from templates, as a database text for a spreadsheet, or as a collection file for another computer.
print~Print CD covers~Print templates lay out track lists and covers for jewel cases. Change the templates to suit your own taste.
submit~Share what you typed~When you have typed the titles of a new CD, submit them to the CDDB database by e-mail so that others find them too.
~Album wizard~For a new album that no database knows, the album wizard asks for the artist, title and tracks step by step.
~Custom fields~Add fields of your own to every album in the options, such as the shelf or the date you bought it.
collection~Search~The collection window finds albums by artist, title, track title or any other field as you type.
~Binders and owners~Group your albums by binder, category or owner in the collection window. Handy for a shared collection.
~Images instead of drives~No CD drive? Open a CUE, TOC or NRG disc image from the File menu and Orbisong plays it like a disc.
cli~For the terminal~orbisong-cli prints your collection, looks albums up and recognises disc images without opening a window, made for scripts and grep.
~Play counts~Orbisong counts how often each album and track is played. The statistics page of an album shows them.
~Several drives~With more than one CD drive, pick the drive from the drive menu or let Orbisong choose one at random.
)tips";

} // namespace Orbisong
