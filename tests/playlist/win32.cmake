# Playlist against the real file system and engine under wine.
