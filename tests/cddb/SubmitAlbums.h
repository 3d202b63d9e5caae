#pragma once

#include <QByteArray>

// A collection of albums for submission tests. 04018E0203A98 is complete ("Pop" category,
// revision 0, one web link); 04018E0303A98 lacks its track 1 offset; 04018E0403A98 stores
// three tracks for an id of four; 04018E0503A98 has no track titles; 04018E0603A98 is
// complete, in "Classical " with letters beyond ASCII.
inline QByteArray submitAlbums()
{
    return "<04018E0203A98>\r\n[Album]\r\nID=04018E0203A98\r\nAR=Test Artist\r\n"
           "TL=Test Album\r\nCA=Pop\r\nRV=0\r\n[Tracks]\r\nCT=2\r\nTO[1]=150\r\n"
           "TO[2]=15000\r\nTT[1]=.first\r\nTT[2]=second\r\nTL[2]=15000\r\n"
           "[WebLink]\r\nCT=1\r\nWU[1]=http://band.example\r\nWT[1]=Home\r\n"
           "<04018E0303A98>\r\n[Album]\r\nID=04018E0303A98\r\nAR=A\r\nTL=B\r\nCA=Rock\r\n"
           "[Tracks]\r\nCT=3\r\nTO[2]=15000\r\nTO[3]=16000\r\nTT[1]=x\r\nTT[2]=y\r\nTT[3]=z\r\n"
           "<04018E0403A98>\r\n[Album]\r\nID=04018E0403A98\r\nAR=A\r\nTL=B\r\nCA=Rock\r\n"
           "[Tracks]\r\nCT=3\r\nTO[1]=150\r\nTO[2]=15000\r\nTO[3]=16000\r\nTT[1]=x\r\n"
           "<04018E0503A98>\r\n[Album]\r\nID=04018E0503A98\r\nAR=A\r\nTL=B\r\nCA=Rock\r\n"
           "[Tracks]\r\nCT=5\r\nTO[1]=150\r\nTO[2]=1500\r\nTO[3]=2000\r\nTO[4]=3000\r\n"
           "TO[5]=4000\r\n"
           "<04018E0603A98>\r\n[Album]\r\nID=04018E0603A98\r\nAR=Bj\xc3\xb6rk\r\n"
           "TL=Homog\xc3\xa9nic\r\nCA=Classical \r\nRV=4\r\n[Tracks]\r\nCT=6\r\nTO[1]=150\r\n"
           "TO[2]=1500\r\nTO[3]=2000\r\nTO[4]=3000\r\nTO[5]=4000\r\nTO[6]=5000\r\n"
           "TT[1]=J\xc3\xb3ga\r\n";
}
